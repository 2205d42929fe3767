#include "app/CommandLine.h"
#include "app/UserFolder.h"
#include "app/widgets/FrameSites.h"
#include "app/widgets/ProgramWindows.h"
#include "backup/BackupStore.h"
#include "link/PortSettings.h"
#include "sites/SiteBook.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <cstdio>

int main(int argc, char **argv)
{
    // The options are read before any window exists, so that --help and a
    // bad option answer on a terminal without a display.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    // The same ports as corvalen-cli's: remembered devices, the variables, then the options.
    const CommandLine options = CommandLine::parse(
        args, PortSettings(PortSettings::defaultFileName()).startDevices(QProcessEnvironment::systemEnvironment()));
    if (options.help) {
        std::fputs(qPrintable(CommandLine::usage()), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("corvalen-pro %s\n", CORVALEN_VERSION);
        return 0;
    }
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "corvalen-pro: %s\n", qPrintable(options.error));
        return 2;
    }

    // The phone list file and the log-on details file live in the working
    // folder; the desktop menu starts the program in the user's own.
    QString folderError;
    if (options.userFolder) {
        const QString folder = UserFolder::path();
        if (UserFolder::enter(folder, &folderError)) {
            std::printf("Corvalen-Pro works in %s\n", qPrintable(folder));
            std::fflush(stdout);
        } else {
            std::fprintf(stderr, "corvalen-pro: %s\n", qPrintable(folderError));
        }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvalen-Pro"));
    QApplication::setApplicationVersion(QStringLiteral(CORVALEN_VERSION));
    // Ties the windows to the menu entry (its name and icon) on Wayland.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.ostrel.CorvalenPro"));

    // The windows in their start-up order; the main window comes first.
    ProgramWindows windows(options.devices);
    windows.form().enableBackups(BackupStore::defaultFolder());
    windows.form().enableRecords();
    windows.show();
    if (!folderError.isEmpty())
        QMessageBox::warning(&windows.form(), QStringLiteral("Corvalen-Pro"),
                             QStringLiteral("%1\nFiles are kept in %2 instead.").arg(folderError, QDir::currentPath()));
    windows.form().enableSites(SiteBook::defaultFileName());
    windows.form().sites().offerFirstSite();
    return app.exec();
}
