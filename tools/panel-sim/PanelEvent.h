#pragma once

#include <QByteArray>
#include <QDateTime>

// One entry of the panel's event log: a gate release for a room, a speed-dial
// button press, an incoming call or an error, with when it happened, the
// relay and what triggered it.
struct PanelEvent
{
    enum class Kind { Room, Button, Call, Error };
    enum Source { Local = 0, Remote = 1, RfId = 2 };

    Kind kind = Kind::Room;
    QDateTime when;      // the panel's clock at the time
    QByteArray room;     // the room's digits (Room events)
    int digit = 0;       // the button (Button) or the error number (Error), 0 to 15
    int relay = 1;       // 0 (none), 1 or 2
    int source = Local;
    QByteArray name;     // the resident's name (Room events)

    bool operator==(const PanelEvent &) const = default;
};
