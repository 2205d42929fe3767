#include "app/CommandLine.h"
#include "app/widgets/ProgramWindows.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    // The options are read before any window exists, so that --help and a
    // bad option answer on a terminal without a display.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const CommandLine options = CommandLine::parse(args, DeviceMap::fromEnvironment());
    if (options.help) {
        std::fputs(qPrintable(CommandLine::usage()), stdout);
        return 0;
    }
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "corvalen-pro: %s\n", qPrintable(options.error));
        return 2;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvalen-Pro"));
    QApplication::setApplicationVersion(QStringLiteral("7.1"));

    // The windows in their start-up order; the main window comes first.
    ProgramWindows windows(options.devices);
    windows.show();
    return app.exec();
}
