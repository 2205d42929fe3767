#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

// What an archived event is, as the event grid decodes its room field: a
// gate release for a resident's room, an incoming call ("InCall"), a press of
// a speed-dial button ("Butt." and the button) or an error ("error").
enum class EventKind { Room = 0, InCall = 1, Button = 2, Error = 3 };

// What released the gate, as the event grid names it.
enum class EventSource { Local = 0, Remote = 1, RfId = 2, Error = 3 };

namespace EventKinds {
// The kind of a decoded room text.
EventKind ofRoom(const QByteArray &roomText);
// "room", "InCall", "Butt.", "error".
QString name(EventKind kind);
// One of name()'s texts, ignoring case ("button" and "Butt" too); nullopt
// for anything else.
std::optional<EventKind> parse(const QString &text);
} // namespace EventKinds

namespace EventSources {
// The source of a decoded source text ("local", "Remote", "RF-ID", else Error).
EventSource ofText(const QByteArray &sourceText);
// "local", "Remote", "RF-ID", "Error".
QString name(EventSource source);
// One of name()'s texts, ignoring case ("RFID" too); nullopt for anything else.
std::optional<EventSource> parse(const QString &text);
} // namespace EventSources

// Which archived events a view, a report or a query shows. Every part that
// is set narrows the selection; an empty filter selects every event.
struct EventFilter
{
    // Inclusive. An event without a date (its line held none that can be)
    // is left out as soon as either edge is set.
    std::optional<QDate> from;
    std::optional<QDate> to;
    std::optional<EventKind> kind;
    // Found in the room text or in the client's name, ignoring case.
    QString text;
    std::optional<EventSource> source;
    // The relay character exactly ("1", "2", "0"); empty for any.
    QByteArray relay;

    bool isEmpty() const;
    // The filter in words, one line per part that is set ("From 2026-03-01",
    // "Kind: InCall", "Room or client contains: smith"), for reports.
    QStringList describe() const;
};
