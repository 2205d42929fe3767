#pragma once

#include "table/TableRead.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// A phone list about to replace what the panel holds, judged from the file
// before the panel is reached (corvalen-cli's directory put and rfid put;
// the window's Open reads any file, and its grid shows what was kept).
//
// - The file must be a phone list: its header names the room column and at
//   least one other column of the list (this program's header, or a
//   spreadsheet's whose columns were recognised). Anything else is refused,
//   naming what its first line holds.
// - For the directory, every room must be 1 to 6 digits: a longer one would
//   be cut into another flat's number, and one with other characters would
//   go as 0. Rows that break this refuse the file, each named.
// - For the tag store, a room (6 characters) or a code (10) of an entry
//   that is written must not be longer than the store keeps.
// - Whatever else the write would cut, drop or replace (a name past 16
//   characters, a phone number that stops at a blank or goes past 16 signs,
//   a code with other characters, letters the panel cannot show, an entry
//   that the panel would take for an empty slot) is a warning that names
//   row and field.
// Rows are counted in the file, its first line being row 1.
namespace PhoneListCheck {

enum class Purpose {
    Directory, // directory put: every entry is written
    Tags,      // rfid put: the entries with a room and a code are written
};

struct Result
{
    QString refusal;      // why the file cannot go to the panel; empty when it can
    QStringList warnings; // each value cut, dropped or replaced, by row and field
    QString notes;        // information: columns of the file that are not read
    TableRead read;       // the entries as the table takes them
    int entries = 0;      // entries in the file
    int written = 0;      // entries with both a Name and a Room (Directory), or a Room and a code (Tags)
};

// content: the whole file; name: how the file is called in messages.
Result check(const QByteArray &content, const QString &name, Purpose purpose);

// At most this many rows are named in one refusal.
inline constexpr int kMaxNamed = 10;

} // namespace PhoneListCheck
