#include "PanelConsole.h"

#include "PanelOptions.h"
#include "PanelServer.h"

#include <QCoreApplication>
#include <QRandomGenerator>

#include <cstdio>

namespace {
QByteArray randomTag()
{
    QByteArray code;
    for (int i = 0; i < 5; ++i)
        code += QByteArray::number(QRandomGenerator::global()->bounded(256), 16).rightJustified(2, '0').toUpper();
    return code;
}
} // namespace

PanelConsole::PanelConsole(PanelServer &server, bool quiet, QObject *parent)
    : QObject(parent)
    , server_(server)
    , quiet_(quiet)
{
    connect(&server_, &PanelServer::commandReceived, this, [this](const QString &shown) {
        if (!quiet_)
            print(QStringLiteral("<- %1").arg(shown));
    });
    connect(&server_, &PanelServer::programAttachedChanged, this, [this](bool attached) {
        if (!quiet_)
            print(attached ? QStringLiteral("the program opened the line")
                           : QStringLiteral("the program closed the line"));
    });
}

void PanelConsole::print(const QString &line)
{
    const QString name =
        QCoreApplication::instance() ? QCoreApplication::applicationName() : QStringLiteral("panel-sim");
    std::fprintf(stderr, "%s: %s\n", qPrintable(name), line.toLocal8Bit().constData());
    std::fflush(stderr);
}

QByteArray PanelConsole::nextStoredTag()
{
    const QList<QByteArray> tags = server_.engine().memory().storedTags();
    if (tags.isEmpty())
        return randomTag();
    return tags.at(tagIndex_++ % tags.size());
}

void PanelConsole::onKey(char key)
{
    switch (key) {
    case 't': {
        const QByteArray tag = nextStoredTag();
        const auto room = server_.engine().memory().roomOfTag(tag);
        server_.presentTag(tag);
        print(QStringLiteral("tag %1 at the reader%2")
                  .arg(QString::fromLatin1(tag),
                       room ? QStringLiteral(" (room %1)").arg(QString::fromLatin1(*room)) : QString()));
        break;
    }
    case 'n': {
        const QByteArray tag = randomTag();
        server_.presentTag(tag);
        print(QStringLiteral("unknown tag %1 at the reader").arg(QString::fromLatin1(tag)));
        break;
    }
    case 'f': {
        const QByteArray tag = nextStoredTag();
        server_.presentTag(tag, 0, true);
        print(QStringLiteral("bad read of tag %1 (wrong check byte)").arg(QString::fromLatin1(tag)));
        break;
    }
    case 'o':
        server_.engine().faults().dropOk = true;
        print(QStringLiteral("the next reply's OK will be left out"));
        break;
    case 'j':
        server_.sendJunkLine();
        print(QStringLiteral("noise on the line"));
        break;
    case 's': {
        bool &silent = server_.engine().faults().silent;
        silent = !silent;
        print(silent ? QStringLiteral("silent: the panel answers nothing") : QStringLiteral("the panel answers again"));
        break;
    }
    case 'h':
    case '?':
        std::fprintf(stderr, "%s", PanelOptions::keysText().toLocal8Bit().constData());
        std::fflush(stderr);
        break;
    case 'q':
        emit quitRequested();
        break;
    default:
        break;
    }
}
