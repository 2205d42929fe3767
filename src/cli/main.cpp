#include "cli/CliRunner.h"
#include "cli/StdConsole.h"
#include "link/DeviceMap.h"
#include "link/EventLoopWaiter.h"
#include "link/PortSettings.h"
#include "link/SystemSerialPort.h"

#include <QCoreApplication>
#include <QFileInfo>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvalen-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CORVALEN_VERSION));

    QStringList args = QCoreApplication::arguments();
    const QString program = QFileInfo(args.takeFirst()).fileName();

    // COM1 to COM4 as the window maps them: the devices chosen in its
    // Device... dialog, the variables over those, the options over both.
    DeviceMap devices = PortSettings(PortSettings::defaultFileName()).startDevices(QProcessEnvironment::systemEnvironment());
    SystemSerialPort port(devices);
    EventLoopWaiter waiter;
    StdConsole console;
    CliRunner runner(port, devices, waiter, console, QProcessEnvironment::systemEnvironment());
    return runner.run(args, program);
}
