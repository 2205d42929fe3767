#pragma once

#include <QByteArray>

// Event lines as the panel sends them: "EEEE " (number and a blank), twelve
// characters of room field, six of date, six of time, a blank, the relay, a
// blank, the source, four blanks, the name filled with blanks to sixteen.
namespace EventLines {

inline QByteArray line(const QByteArray &room, const QByteArray &date = "0C0B1A", const QByteArray &time = "0E2D05",
                       char relay = '1', char source = '0', const QByteArray &name = "Ann Other")
{
    return "0001 " + room + date + time + " " + QByteArray(1, relay) + " " + QByteArray(1, source) + "    "
           + name.leftJustified(16, ' ', true);
}

// Room 4711 (one digit a byte, filled with FF).
inline QByteArray room4711() { return "04070101FFFF"; }
// A press of speed-dial button b.
inline QByteArray button(char b) { return QByteArray("A00") + b + "FFFFFFFF"; }
inline QByteArray inCall() { return "B0FFFFFFFFFF"; }
inline QByteArray errorEvent() { return "C0FFFFFFFFFF"; }

} // namespace EventLines
