#pragma once

#include "table/Table.h"

#include <QByteArray>
#include <QString>
#include <optional>

// Write All sends the room and the code of each entry inside one "g" or "p"
// command, which a CR ends. A CR, LF or NUL in them (from a file, as "%c",
// "%n" or "%0") would cut the command short and start another with the
// rest, so such an entry stops the write before anything is sent.
namespace StoreEntryCheck {

struct Problem
{
    int row = -1;       // in the table's current order, from 0
    QByteArray field;   // RoomNumber or RFID
    QByteArray value;   // as it stands in the table
};

// The first entry Write All would send whose room (the six characters that
// go) or code holds a CR, LF or NUL.
std::optional<Problem> firstUnsendable(const Table &phoneTable);

// The value as a phone list file writes it: CR, LF and NUL as "%c", "%n"
// and "%0".
QString shown(const QByteArray &value);

// "Cannot write the RFID codes to the Corvalen: ..." naming the entry (its
// place, name and room), the field and its value.
QString message(const Problem &problem, const QByteArray &name, const QByteArray &room);

} // namespace StoreEntryCheck
