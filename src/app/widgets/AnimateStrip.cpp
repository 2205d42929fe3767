#include "app/widgets/AnimateStrip.h"

#include <QPainter>

AnimateStrip::AnimateStrip(const QString &strip, QWidget *parent)
    : QWidget(parent)
    , strip_(strip)
{
    setObjectName(QStringLiteral("Animate1"));
    setAccessibleName(QStringLiteral("Connection animation"));
    setFixedSize(sizeHint());
    timer_.setInterval(kFrameMs);
    connect(&timer_, &QTimer::timeout, this, &AnimateStrip::advance);
}

QSize AnimateStrip::sizeHint() const
{
    return QSize(kFrameWidth, strip_.isNull() ? 24 : strip_.height());
}

void AnimateStrip::setRunning(bool running)
{
    if (running == timer_.isActive())
        return;
    if (running) {
        timer_.start();
        return;
    }
    timer_.stop();
    frame_ = 0;
    update();
}

void AnimateStrip::advance()
{
    frame_ = (frame_ + 1) % kFrames;
    update();
}

void AnimateStrip::paintEvent(QPaintEvent *)
{
    if (strip_.isNull())
        return;
    QPainter painter(this);
    const QRect source(frame_ * kFrameWidth, 0, kFrameWidth, strip_.height());
    painter.drawPixmap(QRect(QPoint(0, 0), source.size()), strip_, source);
}
