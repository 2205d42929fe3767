#pragma once

// What a transfer shows while data moves, as the code below the windows sees
// it: the floating transfer window, the hourglass pointer, the blinking lamp
// (the lamp timer), the keep-alive timer that transfers stop while they run,
// and the lamp's image (20 logging off, 21 online, 22 offline).
class TransferFeedback
{
public:
    virtual ~TransferFeedback() = default;
    virtual void showTransferWindow() = 0;
    virtual void hideTransferWindow() = 0;
    virtual void setBusyCursor(bool busy) = 0;
    virtual void startLampBlink() = 0;   // Timer1 on
    virtual void stopLampBlink() = 0;    // Timer1 off
    virtual void startKeepAlive() = 0;   // Timer2 on
    virtual void stopKeepAlive() = 0;    // Timer2 off
    virtual void setLedImage(int image) = 0;
};
