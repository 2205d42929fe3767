#pragma once

#include "link/TransferFeedback.h"
#include "link/widgets/TTransferF.h"

#include <QPointer>

class Connection;

// What a transfer shows, in the main window: the transfer window, the
// hourglass pointer, and through the connection the blinking lamp (Timer1),
// the keep-alive (Timer2) and the lamp's image.
class FrameFeedback : public TransferFeedback
{
public:
    FrameFeedback() = default;
    ~FrameFeedback() override;

    // Both are created after the context; until then their parts do nothing.
    void setConnection(Connection *connection) { connection_ = connection; }
    void setTransferWindow(TTransferF *window) { window_ = window; }

    void showTransferWindow() override;
    void hideTransferWindow() override;
    void setBusyCursor(bool busy) override;
    void startLampBlink() override;
    void stopLampBlink() override;
    void startKeepAlive() override;
    void stopKeepAlive() override;
    void setLedImage(int image) override;

private:
    Connection *connection_ = nullptr;
    QPointer<TTransferF> window_;
    bool busyCursor_ = false;
};
