#pragma once

#include "link/ByIdNames.h"
#include "link/DeviceAccess.h"
#include "link/SerialDevice.h"

// The serial devices present now, each with its /dev/serial/by-id name, what
// the system says about it, whether the user may open it and whether
// another program holds it.
//
// The list is read from sysfs (/sys/class/tty: every tty with a device
// behind it) and nothing is opened. QSerialPortInfo::availablePorts() is not
// used: to tell a real UART (ttyS0, ttyS1) from an empty slot it opens the
// device, which raises DTR and RTS on a panel cabled to it, and the device
// dialog lists every second. sysfs tells the same through the port's "type"
// attribute (0: no UART there), and gives the USB maker, product and serial
// number that QSerialPortInfo would.
class SerialDeviceList
{
public:
    struct Sources
    {
        QString ttyClass = QStringLiteral("/sys/class/tty");
        QString devFolder = QStringLiteral("/dev");
        QString byIdFolder = QString::fromLatin1(ByIdNames::kFolder);
        DeviceAccess::Folders access;
    };

    SerialDeviceList();
    explicit SerialDeviceList(Sources sources);

    // Sorted by node.
    SerialDevices scan() const;

    // One device in one line of text, for the diagnostics file.
    static QString toText(const SerialDevice &device);

private:
    bool isSerialPort(const QString &name) const;
    void describeUsb(const QString &name, SerialDevice &device) const;

    Sources sources_;
};
