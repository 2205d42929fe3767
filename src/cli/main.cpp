#include "cli/CliExit.h"
#include "cli/CliRunner.h"
#include "cli/StdConsole.h"
#include "link/DeviceMap.h"
#include "link/EventLoopWaiter.h"
#include "link/JournalSerialPort.h"
#include "link/PortSettings.h"
#include "link/SystemSerialPort.h"
#include "link/TrafficJournal.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <memory>

namespace {

// Printed reports paint text, which needs a platform for the fonts: the
// offscreen one, so that printing needs no display. Every other job runs on
// QtCore alone.
bool paints(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--pdf" || arg.startsWith("--pdf="))
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    std::unique_ptr<QCoreApplication> app;
    if (paints(argc, argv)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("corvalen-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CORVALEN_VERSION));

    QStringList args = QCoreApplication::arguments();
    const QString program = QFileInfo(args.takeFirst()).fileName();

    // COM1 to COM4 as the window maps them: the devices chosen in its
    // Device... dialog, the variables over those, the options over both.
    DeviceMap devices = PortSettings(PortSettings::defaultFileName()).startDevices(QProcessEnvironment::systemEnvironment());
    SystemSerialPort line(devices);
    // The window's traffic journal, in its folder and with its retention:
    // a scheduled job that failed is looked into the same way.
    TrafficJournal journal(TrafficJournal::defaultFolder(), TrafficJournal::localClock());
    JournalSerialPort port(line, journal,
                           [&line] { return QStringLiteral("%1 (%2)").arg(line.portName(), line.deviceName()); });
    EventLoopWaiter waiter;
    StdConsole console;
    CliRunner runner(port, devices, waiter, console, QProcessEnvironment::systemEnvironment());
    const int status = runner.run(args, program);

    journal.flush();
    if (status == exitStatus(CliExit::Refused) || status == exitStatus(CliExit::LinkFailed)) {
        if (!journal.fileName().isEmpty())
            console.err((QStringLiteral("Traffic journal: ") + journal.fileName() + QLatin1Char('\n')).toLocal8Bit());
        if (!journal.error().isEmpty())
            console.err((QStringLiteral("Journal stopped: ") + journal.error() + QLatin1Char('\n')).toLocal8Bit());
    }
    return status;
}
