#pragma once

#include <QProcessEnvironment>
#include <QString>

class CliConsole;
class DeviceMap;
class SerialPort;
class Waiter;

// One site of the nightly backup, in a process of its own: log on with the
// site's PIN as an unattended job finds it (never asking), read the
// directory, the parameters, the RFID store and the event log, keep them in
// the site's history and event archive, log off. Nothing is ever written to
// the panel. Prints one JSON object on standard output for the run that
// started it:
//   {"site", "result": "ok"|"failed", "exit", "message", "model",
//    "changed": ["directory", ...], "new_events", "reached"}
// and returns the exit status of the panel's commands (0, 1, 3).
class SiteBackupOne
{
public:
    SiteBackupOne(SerialPort &port, DeviceMap &devices, Waiter &waiter, CliConsole &console);

    int run(const QString &siteName, const QString &bookFile);

private:
    SerialPort &port_;
    DeviceMap &devices_;
    Waiter &waiter_;
    CliConsole &console_;
};
