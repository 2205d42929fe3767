#pragma once

#include "link/TransferFeedback.h"

// Transfer feedback where there is no window: no transfer window, pointer,
// lamp or keep-alive timer to drive (the command line, the fuzzers).
class NoWindowFeedback : public TransferFeedback
{
public:
    void showTransferWindow() override {}
    void hideTransferWindow() override {}
    void setBusyCursor(bool) override {}
    void startLampBlink() override {}
    void stopLampBlink() override {}
    void startKeepAlive() override {}
    void stopKeepAlive() override {}
    void setLedImage(int) override {}
};
