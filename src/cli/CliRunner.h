#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

class CliConsole;
class DeviceMap;
class SerialPort;
class Waiter;
struct SitesBackupArgs;

// corvalen-cli from its arguments to its exit status: the command line, the
// job's checks, the PIN, one log-on, the job, the log-off, the summary.
// The port and the wait are given, as to the window: the program's own
// serial port on real time, or a fake panel on virtual time in tests.
class CliRunner
{
public:
    // port: opened on the name or device --port gives it, through `devices`
    // (which the runner fills from the options; the port must look it up there).
    CliRunner(SerialPort &port, DeviceMap &devices, Waiter &waiter, CliConsole &console,
              QProcessEnvironment environment);

    // args without the program name; program: the name it was started as.
    int run(const QStringList &args, const QString &program = QStringLiteral("corvalen-cli"));

    // The site book that --site and the sites commands use
    // (SiteBook::defaultFileName() unless set).
    void setSiteBook(const QString &fileName) { siteBook_ = fileName; }
    // The corvalen-cli that "sites backup" starts for each site (this
    // program unless set).
    void setSelfProgram(const QString &program) { selfProgram_ = program; }

private:
    int runOnPanel(const QStringList &args, const QString &program);
    int runBackup(const SitesBackupArgs &args, const QString &program);
    int usageError(const QString &error, bool json, const QString &program);

    SerialPort &port_;
    DeviceMap &devices_;
    Waiter &waiter_;
    CliConsole &console_;
    QProcessEnvironment environment_;
    QString siteBook_;
    QString selfProgram_;
};
