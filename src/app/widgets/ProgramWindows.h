#pragma once

#include "app/widgets/TAboutBox.h"
#include "app/widgets/TCorvalenForm.h"
#include "link/EventLoopWaiter.h"
#include "link/JournalSerialPort.h"
#include "link/PortSettings.h"
#include "link/SystemSerialPort.h"
#include "link/TrafficJournal.h"
#include "link/widgets/TEnterPin.h"
#include "link/widgets/TTransferF.h"

// The program's windows in their start-up order, the main window first,
// with the serial port (journalled), the wait and the port settings they
// share: what main() starts and shows.
class ProgramWindows
{
public:
    // devices: the ports as the run starts with them (PortSettings::
    // startDevices, with the command line's options over it).
    // prompt: where messages go; the main window's message boxes when null.
    explicit ProgramWindows(const DeviceMap &devices, UserPrompt *prompt = nullptr);

    // Shows the main window, in front and active.
    void show();

    TCorvalenForm &form() { return form_; }
    TTransferF &transferWindow() { return transfer_; }
    SystemSerialPort &port() { return line_; }

private:
    const PortSettings settings_;
    DeviceMap devices_;
    SystemSerialPort line_;
    TrafficJournal journal_;
    JournalSerialPort port_;
    EventLoopWaiter waiter_;
    TCorvalenForm form_;
    TAboutBox about_;
    TEnterPin enterPin_;
    TTransferF transfer_;
};
