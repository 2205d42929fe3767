#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <array>

// Maps the panel's port names COM1 to COM4 to devices: a device file, or a
// serial server on the network (tcp://HOST:PORT, rfc2217://HOST:PORT; see
// PortAddress). Defaults suit a Linux machine with USB serial adapters; each
// port can be pointed elsewhere by the environment (CORVALEN_COM1 ...
// CORVALEN_COM4) or on the command line (--com1=DEVICE ... --com4=DEVICE),
// which wins over the environment. A device chosen in the window and
// remembered in the settings file (PortSettings) stands between the default
// and those two: an option or a variable still wins for the run it is given.
class DeviceMap
{
public:
    // Where a port's device came from, weakest first.
    enum class Source { Default, Remembered, Environment, CommandLine };

    DeviceMap();

    static DeviceMap fromEnvironment();
    // The same from the variables of `environment`.
    static DeviceMap fromEnvironment(const QProcessEnvironment &environment);

    // n is 1 to 4.
    QString device(int n) const;
    void setDevice(int n, const QString &path, Source source = Source::CommandLine);
    Source source(int n) const;
    // The device of port n is fixed for this run by an option or a variable:
    // a remembered choice does not replace it.
    bool pinned(int n) const;

    // "COM2" -> the device of port 2; an unknown name is used as a path.
    QString deviceForPortName(const QString &portName) const;

    // Takes --comN=DEVICE options out of args; returns false with *error for
    // a malformed one (a malformed network address included).
    bool applyArguments(QStringList &args, QString *error);

    static QString defaultDevice(int n);

    // What a message about a device that is not there tells the user to do:
    // the window's port menu, unless the program that runs says otherwise
    // (corvalen-cli names its options).
    QString missingDeviceAdvice() const;
    void setMissingDeviceAdvice(const QString &advice) { missingDeviceAdvice_ = advice; }

private:
    std::array<QString, 4> devices_;
    std::array<Source, 4> sources_{Source::Default, Source::Default, Source::Default, Source::Default};
    QString missingDeviceAdvice_;
};
