#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>

// Animate1: a looping animation of seven frames, 30 pixels wide each, cut
// from one strip picture, one frame every 200 ms. Stopped it shows frame 0.
class AnimateStrip : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kFrames = 7;
    static constexpr int kFrameWidth = 30;
    static constexpr int kFrameMs = 200;

    explicit AnimateStrip(const QString &strip, QWidget *parent = nullptr);

    void setRunning(bool running);
    bool running() const { return timer_.isActive(); }
    int frame() const { return frame_; }
    // One step of the timer.
    void advance();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap strip_;
    QTimer timer_;
    int frame_ = 0;
};
