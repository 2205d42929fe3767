#pragma once

#include "PanelFaults.h"
#include "PanelMemory.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// The command line of panel-sim, read into plain settings.
struct PanelOptions
{
    QString model = QStringLiteral("1000");
    bool modelGiven = false;
    QByteArray identity;        // announced instead of the model's own
    QByteArray pin = "1234";
    bool pinGiven = false;
    bool demo = false;
    QString memoryFile;
    QString link;
    // --tcp: serve on this TCP address instead of a pseudo-terminal.
    bool tcp = false;
    QString tcpHost = QStringLiteral("127.0.0.1");
    quint16 tcpPort = 0;
    bool pacing = true;
    int baud = 57600;
    PanelFaults faults;
    int maxEvents = PanelMemory::kMaxEvents;
    int addEvents = 0;          // more events logged at the start, after the log's last
    QByteArray tag;             // presented after tagDelayMs
    int tagDelayMs = 5000;
    std::optional<quint32> seed;
    bool quiet = false;
    bool keys = true;
    bool help = false;
    bool version = false;

    // Empty, with *error, for a bad command line. args[0] is the program.
    static std::optional<PanelOptions> parse(const QStringList &args, QString *error);
    static QString helpText();
    static QString keysText();
};
