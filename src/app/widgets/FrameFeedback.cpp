#include "app/widgets/FrameFeedback.h"

#include "link/Connection.h"
#include "link/widgets/TTransferF.h"

#include <QApplication>

FrameFeedback::~FrameFeedback()
{
    setBusyCursor(false);
}

void FrameFeedback::showTransferWindow()
{
    if (window_)
        window_->show();
}

void FrameFeedback::hideTransferWindow()
{
    if (window_ && window_->isVisible())
        window_->hide();
}

void FrameFeedback::setBusyCursor(bool busy)
{
    // One override at a time, however often a transfer asks.
    if (busy == busyCursor_)
        return;
    busyCursor_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void FrameFeedback::startLampBlink()
{
    if (connection_)
        connection_->startLampBlink();
}

void FrameFeedback::stopLampBlink()
{
    if (connection_)
        connection_->stopLampBlink();
}

void FrameFeedback::startKeepAlive()
{
    if (connection_)
        connection_->startKeepAlive();
}

void FrameFeedback::stopKeepAlive()
{
    if (connection_)
        connection_->stopKeepAlive();
}

void FrameFeedback::setLedImage(int image)
{
    if (connection_)
        connection_->setLedImage(image);
}
