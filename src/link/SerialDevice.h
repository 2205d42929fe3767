#pragma once

#include <QList>
#include <QString>

// One serial device present on this machine, as the device dialog and the
// diagnostics file show it.
struct SerialDevice
{
    QString node;         // /dev/ttyUSB0
    QString byId;         // /dev/serial/by-id/usb-..., empty when the device has none
    QString description;  // what the system says it is
    QString manufacturer;
    QString serialNumber;
    QString noPermission; // why the user may not open it, with the fix; empty when they may
    QString busy;         // which program holds it; empty when none was seen

    // The name to remember: the stable by-id name where there is one.
    QString preferredName() const { return byId.isEmpty() ? node : byId; }
    bool operator==(const SerialDevice &other) const = default;
};

using SerialDevices = QList<SerialDevice>;
