#pragma once

#include "link/StatusSink.h"
#include "link/TransferAnimation.h"

#include <QLabel>
#include <QTimer>
#include <QWidget>

// The transfer window TransferF: borderless, on top, centred, with three
// pictures on top of each other of which its 300 ms timer shows one at a
// time (Image2, Image3, Image2, Image1). Showing it says "DownLoading." in
// the status bar, hiding it "Done"; hiding it while hidden does nothing.
// The timer runs for the life of the window, also while it is hidden.
class TTransferF : public QWidget
{
    Q_OBJECT
public:
    explicit TTransferF(StatusSink &status, QWidget *parent = nullptr);

    void Timer1Timer();
    // The picture showing: 1 to 3, 0 for none.
    int shownImage() const;
    const TransferAnimation &animation() const { return animation_; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void FormShow();
    void FormHide();
    void centre();

    StatusSink &status_;
    QLabel *Image1;
    QLabel *Image2;
    QLabel *Image3;
    QTimer Timer1;
    TransferAnimation animation_;
};
