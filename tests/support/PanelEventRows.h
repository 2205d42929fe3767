#pragma once

#include "PanelEvent.h"

#include <QByteArray>
#include <QList>

// What the event table should hold for an event of the virtual panel's log,
// worked out from the event itself (not from the line the panel sends): the
// seven values Event, RoomNumber, Date, Time, RlyNo, Source, Client, as the
// grid shows them and the event file writes them.
namespace PanelEventRows {

inline QByteArray twoDigits(int n)
{
    return QByteArray::number(n % 100).rightJustified(2, '0');
}

inline QByteArray roomText(const PanelEvent &e)
{
    switch (e.kind) {
    case PanelEvent::Kind::Button:
        return "Butt." + QByteArray::number(e.digit & 0xF, 16).toUpper();
    case PanelEvent::Kind::Call:
        return "InCall";
    case PanelEvent::Kind::Error:
        return "error";
    case PanelEvent::Kind::Room:
        break;
    }
    return e.room.left(6);
}

inline QByteArray sourceText(int source)
{
    switch (source) {
    case PanelEvent::Local: return "local";
    case PanelEvent::Remote: return "Remote";
    case PanelEvent::RfId: return "RF-ID";
    }
    return "Error";
}

inline QList<QByteArray> row(int number, const PanelEvent &e)
{
    const QDate d = e.when.date();
    const QTime t = e.when.time();
    const QByteArray room = roomText(e);
    // A room event's client is the name as sent, filled with blanks to 16.
    const QByteArray client = e.kind == PanelEvent::Kind::Room ? e.name.left(16).leftJustified(16, ' ') : room;
    return {QByteArray::number(number),
            room,
            twoDigits(d.day()) + '/' + twoDigits(d.month()) + '/' + twoDigits(d.year()),
            twoDigits(t.hour()) + ':' + twoDigits(t.minute()) + ':' + twoDigits(t.second()),
            QByteArray::number(e.relay),
            sourceText(e.source),
            client};
}

inline PanelEvent roomEvent(const QDateTime &when, const QByteArray &room, const QByteArray &name, int relay,
                            int source)
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

inline PanelEvent markerEvent(PanelEvent::Kind kind, const QDateTime &when, int digit, int relay, int source)
{
    PanelEvent e;
    e.kind = kind;
    e.when = when;
    e.digit = digit;
    e.relay = relay;
    e.source = source;
    return e;
}

} // namespace PanelEventRows
