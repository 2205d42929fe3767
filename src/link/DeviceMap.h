#pragma once

#include <QString>
#include <array>

// Maps the panel's port names COM1 to COM4 to device files. Defaults suit a
// Linux machine with USB serial adapters; each port can be pointed elsewhere
// by the environment (CORVALEN_COM1 ... CORVALEN_COM4) or on the command line
// (--com1=PATH ... --com4=PATH), which wins over the environment.
class DeviceMap
{
public:
    DeviceMap();

    static DeviceMap fromEnvironment();

    // n is 1 to 4.
    QString device(int n) const;
    void setDevice(int n, const QString &path);

    // "COM2" -> the device of port 2; an unknown name is used as a path.
    QString deviceForPortName(const QString &portName) const;

    // Takes --comN=PATH options out of args; returns false with *error for
    // a malformed one.
    bool applyArguments(QStringList &args, QString *error);

    static QString defaultDevice(int n);

private:
    std::array<QString, 4> devices_;
};
