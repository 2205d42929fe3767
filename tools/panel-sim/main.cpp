// panel-sim: the virtual Corvalen Xarn panel on a pseudo-terminal, or behind
// a TCP port as a serial server in raw mode.
#include "MemoryAutoSave.h"
#include "PanelConsole.h"
#include "PanelOptions.h"
#include "PanelSetup.h"
#include "PtyPanelServer.h"
#include "QuitOnSignal.h"
#include "TcpPanelServer.h"
#include "TerminalKeys.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    // The name it was started by (panel-sim in the build tree,
    // corvalen-virtual-panel when installed) is the name it gives itself.
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral("7.1"));

    QString error;
    const std::optional<PanelOptions> options = PanelOptions::parse(QCoreApplication::arguments(), &error);
    if (!options) {
        PanelConsole::print(error + QStringLiteral(" (see %1 --help)").arg(QCoreApplication::applicationName()));
        return 2;
    }
    if (options->help) {
        std::printf("%s", PanelOptions::helpText().toLocal8Bit().constData());
        return 0;
    }
    if (options->version) {
        std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                    qPrintable(QCoreApplication::applicationVersion()));
        return 0;
    }

    PanelSetup::Result setup = PanelSetup::build(*options, QDateTime::currentDateTime(), &error);
    if (!setup.engine) {
        PanelConsole::print(QStringLiteral("cannot use the memory file: %1").arg(error));
        return 1;
    }
    PanelEngine &engine = *setup.engine;

    std::unique_ptr<PanelServer> line;
    PtyPanelServer *pty = nullptr;
    if (options->tcp) {
        line = std::make_unique<TcpPanelServer>(engine, QHostAddress(options->tcpHost), options->tcpPort);
    } else {
        auto terminal = std::make_unique<PtyPanelServer>(engine);
        pty = terminal.get();
        line = std::move(terminal);
    }
    PanelServer &server = *line;
    server.setBaudRate(options->baud);
    server.setPacing(options->pacing);
    if (!server.open(&error)) {
        PanelConsole::print(options->tcp ? QStringLiteral("cannot serve on TCP: %1").arg(error)
                                         : QStringLiteral("cannot open a pseudo-terminal: %1").arg(error));
        return 1;
    }
    std::printf("%s\nPIN %s\n", qPrintable(server.devicePath()), engine.pin().constData());
    std::fflush(stdout);

    if (pty && !options->link.isEmpty() && !pty->createLink(options->link, &error)) {
        PanelConsole::print(QStringLiteral("cannot make the link: %1").arg(error));
        return 1;
    }

    std::unique_ptr<MemoryAutoSave> autosave;
    if (!options->memoryFile.isEmpty()) {
        QDir().mkpath(QFileInfo(options->memoryFile).absolutePath());
        autosave = std::make_unique<MemoryAutoSave>(engine, options->memoryFile);
        QObject::connect(&server, &PanelServer::memoryChanged, autosave.get(), &MemoryAutoSave::noteChange);
        QObject::connect(autosave.get(), &MemoryAutoSave::saveFailed, &app,
                         [](const QString &message) { PanelConsole::print(message); });
        if (!setup.loadedMemory)
            autosave->saveNow(true);
    }

    PanelConsole console(server, options->quiet);
    QObject::connect(&console, &PanelConsole::quitRequested, &app, &QCoreApplication::quit);
    QuitOnSignal signals_;
    QObject::connect(&signals_, &QuitOnSignal::signalled, &app, &QCoreApplication::quit);
    TerminalKeys keys;
    const bool keysOn = options->keys && keys.start();
    QObject::connect(&keys, &TerminalKeys::keyPressed, &console, &PanelConsole::onKey);

    if (!options->tag.isEmpty())
        server.presentTag(options->tag, options->tagDelayMs);

    PanelConsole::print(QStringLiteral("%1 on %2%3, PIN %4, %5%6%7")
                            .arg(QString::fromLatin1(engine.identity()), server.devicePath(),
                                 options->link.isEmpty() ? QString() : QStringLiteral(" (link %1)").arg(options->link),
                                 QString::fromLatin1(engine.pin()),
                                 options->pacing ? QStringLiteral("%1 baud").arg(options->baud)
                                                 : QStringLiteral("no pacing"),
                                 setup.loadedMemory ? QStringLiteral(", memory from %1").arg(options->memoryFile)
                                                    : QString(),
                                 keysOn ? QStringLiteral("; keys: t tag, n unknown tag, f bad read, o drop OK, "
                                                         "j noise, s silent, h help, q quit")
                                        : QString()));

    const int code = app.exec();
    if (autosave)
        autosave->saveNow();
    server.close();
    return code;
}
