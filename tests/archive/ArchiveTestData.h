#pragma once

#include "PanelEvent.h"
#include "PanelLines.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>

// Event logs for the archive's tests, as the virtual panel sends them.
namespace ArchiveTestData {

inline PanelEvent room(const QDateTime &when, const QByteArray &room, const QByteArray &name, int relay = 1,
                       int source = PanelEvent::Local)
{
    PanelEvent e;
    e.kind = PanelEvent::Kind::Room;
    e.when = when;
    e.room = room;
    e.name = name;
    e.relay = relay;
    e.source = source;
    return e;
}

inline PanelEvent marker(PanelEvent::Kind kind, const QDateTime &when, int digit = 0, int relay = 0,
                         int source = PanelEvent::Local)
{
    PanelEvent e;
    e.kind = kind;
    e.when = when;
    e.digit = digit;
    e.relay = relay;
    e.source = source;
    return e;
}

// A log of n events of every kind, one every 7 minutes and 13 seconds from
// `start` (so that they cover every hour over several days): rooms with
// names (some with bytes above 127, some sharing a room), buttons, calls,
// errors, every relay and source.
inline QList<PanelEvent> mixedLog(int n, const QDateTime &start = QDateTime(QDate(2026, 2, 1), QTime(0, 3, 0)),
                                  int stepSeconds = 433)
{
    static const QByteArray rooms[] = {"101", "102", "4711", "12", "101"};
    static const QByteArray names[] = {"Adams Helen", "Baker Tom", "M\xfcller J\xfcrgen", "O'Neil Ann", "Adams Max"};
    QList<PanelEvent> log;
    for (int i = 0; i < n; ++i) {
        const QDateTime when = start.addSecs(qint64(i) * stepSeconds);
        switch (i % 7) {
        case 0:
        case 1:
        case 2:
        case 3:
            // Source 7 is none the panel knows: the grid says "Error".
            log << room(when, rooms[i % 5], names[i % 5], 1 + (i / 7) % 2, (i / 3) % 4 == 3 ? 7 : (i / 3) % 4);
            break;
        case 4: log << marker(PanelEvent::Kind::Button, when, 1 + i % 8, 0, PanelEvent::Local); break;
        case 5: log << marker(PanelEvent::Kind::Call, when, 0, i % 2, PanelEvent::Remote); break;
        case 6: log << marker(PanelEvent::Kind::Error, when, 1 + i % 3, 0, PanelEvent::Local); break;
        }
    }
    return log;
}

// The lines of a download of `log`, numbered from 1 as the panel numbers
// every download afresh.
inline QList<QByteArray> lines(const QList<PanelEvent> &log)
{
    QList<QByteArray> out;
    int number = 0;
    for (const PanelEvent &e : log)
        out << PanelLines::eventLine(++number, e);
    return out;
}

} // namespace ArchiveTestData
