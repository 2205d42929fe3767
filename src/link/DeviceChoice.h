#pragma once

#include "link/DeviceMap.h"
#include "link/PortSettings.h"

#include <QObject>
#include <QString>
#include <optional>

// A device chosen in the window for one of the ports COM1 to COM4: checked,
// remembered in the settings file and put into the device map, so that the
// port's next open (the next log-on) uses it. A port whose device an option
// or a variable fixed for this run keeps that device; the choice is still
// remembered for the runs after.
class DeviceChoice : public QObject
{
    Q_OBJECT
public:
    enum class Result {
        Refused,         // the text names no device; nothing changed
        Taken,           // in use from the next log-on and remembered
        NotRemembered,   // in use from the next log-on, but the file could not be written
        RememberedOnly,  // remembered; this run keeps the device of --comN= or CORVALEN_COMn
    };

    DeviceChoice(DeviceMap &devices, PortSettings settings, QObject *parent = nullptr);

    // The text as a device: a whole device path (/dev/ttyACM0) or a network
    // address (tcp://HOST:PORT, rfc2217://HOST:PORT), trimmed. Empty text,
    // a malformed address, a port name or a relative path get a message.
    static std::optional<QString> check(const QString &text, QString *error);

    // *message says what happened in a sentence fit for the user (also for
    // Taken).
    Result choose(int n, const QString &text, QString *message);

    const DeviceMap &devices() const { return devices_; }
    const PortSettings &settings() const { return settings_; }

signals:
    // The device of port n changed for this run.
    void deviceChanged(int n);

private:
    DeviceMap &devices_;
    PortSettings settings_;
};
