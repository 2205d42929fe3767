#pragma once

#include "app/widgets/TAboutBox.h"
#include "app/widgets/TCorvalenForm.h"
#include "link/EventLoopWaiter.h"
#include "link/SystemSerialPort.h"
#include "link/widgets/TEnterPin.h"
#include "link/widgets/TTransferF.h"

// The program's windows in their start-up order, the main window first,
// with the serial port and the wait they share: what main() starts and
// shows.
class ProgramWindows
{
public:
    // prompt: where messages go; the main window's message boxes when null.
    explicit ProgramWindows(const DeviceMap &devices, UserPrompt *prompt = nullptr);

    // Shows the main window, in front and active.
    void show();

    TCorvalenForm &form() { return form_; }
    TTransferF &transferWindow() { return transfer_; }
    SystemSerialPort &port() { return port_; }

private:
    SystemSerialPort port_;
    EventLoopWaiter waiter_;
    TCorvalenForm form_;
    TAboutBox about_;
    TEnterPin enterPin_;
    TTransferF transfer_;
};
