#pragma once

#include "link/DeviceMap.h"

#include <QString>

// The small settings file that remembers, for each of the ports COM1 to
// COM4, the device a user chose in the window. It lives in the user's
// configuration folder (XDG: $XDG_CONFIG_HOME, else ~/.config) as
// Corvalen-Pro/corvalen-pro.conf, an INI file that QSettings reads and
// writes:
//
//   [Ports]
//   COM1=/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0
//   COM2=tcp://gateway:4001
//
// A value that does not name a device (hand-edited into something malformed)
// is passed over, so the port keeps its default.
class PortSettings
{
public:
    explicit PortSettings(QString fileName);

    // ~/.config/Corvalen-Pro/corvalen-pro.conf, through QStandardPaths (its
    // test mode redirects it).
    static QString defaultFileName();
    QString fileName() const { return fileName_; }

    // The remembered device of port n (1 to 4); empty when none or malformed.
    QString device(int n) const;
    // Remembers a device for port n; false with *error when the file could
    // not be written.
    bool setDevice(int n, const QString &device, QString *error);

    // Puts every remembered device into the map, for each port the map took
    // neither from an option nor from a variable.
    void applyTo(DeviceMap &devices) const;

    // The devices of COM1 to COM4 at the start of a run, the same for the
    // window and for corvalen-cli: the defaults, over them the devices
    // remembered here, over those the CORVALEN_COMn variables of
    // `environment`. Each program's options (--comN=, DeviceMap::
    // applyArguments) go over the result.
    DeviceMap startDevices(const QProcessEnvironment &environment) const;

private:
    QString fileName_;
};
