#pragma once

#include "PanelMemory.h"

#include <QDateTime>

// A believable building for demonstrations: residents with names, rooms,
// phone numbers (with "*", "#" and pauses) and gate codes, in slots sorted by
// name as the program's upload leaves them; messages, gate codes and speed
// dials; RFID tags tied to rooms; and a fortnight of events of every kind
// ending shortly before `now`. The same call gives the same data.
namespace DemoData {

struct Resident
{
    const char *name;
    const char *room;
    const char *phone; // dial text: digits, "*", "#", "p" for a pause
    const char *code1;
    const char *code2;
};

// The residents in slot order.
QList<Resident> residents();

// The entry text the program writes for a resident:
// RoomNumber,Code1,Code2,spare,digits,Name.
QByteArray entryText(const Resident &resident);

// Replaces the whole memory with the demo building (the PIN stays).
void seed(PanelMemory &memory, const QDateTime &now);

// Logs `count` more events of every kind for the demo building's residents,
// one second or more apart, after the log's last event and up to `now` (or,
// with an empty log, over the days before `now`). The oldest events give way
// when the log is full. The same log and arguments give the same events.
void addEvents(PanelMemory &memory, int count, const QDateTime &now);

} // namespace DemoData
