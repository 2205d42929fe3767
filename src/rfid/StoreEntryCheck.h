#pragma once

#include "table/Table.h"

#include <QByteArray>
#include <QString>
#include <optional>

// Write All sends the room and the code of each entry inside one "g" or "p"
// command, which a CR ends. A control byte in them (a CR, LF or NUL that
// came in with a file) would cut the command short and start another with
// the rest, so such an entry stops the write before anything is sent.
namespace StoreEntryCheck {

struct Problem
{
    int row = -1;       // in the table's current order, from 0
    QByteArray field;   // RoomNumber or RFID
    QByteArray value;   // as it stands in the table
};

// The first entry Write All would send whose room (the six characters that
// go) or code holds a byte below 0x20.
std::optional<Problem> firstUnsendable(const Table &phoneTable);

// The value with every control byte written out: <CR>, <LF>, <NUL>, <xHH>.
QString shown(const QByteArray &value);

// "Write All was not started: ..." naming the field, the entry (its place
// and name) and the value.
QString message(const Problem &problem, const QByteArray &name);

} // namespace StoreEntryCheck
