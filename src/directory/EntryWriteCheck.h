#pragma once

#include "directory/PhoneEditTexts.h"

#include <QString>

class Table;

// The last look at an entry before it goes to the panel. A CR, LF or NUL in
// one of the fields that make up its entry text (possible after loading a
// phone list file, where they are written "%c", "%n" and "%0", or after
// pasting) would break the "w" or "b" command apart on the line, so such an
// entry is not written at all.
namespace EntryWriteCheck {

// The stored Name, RoomNumber, PHnumber, Code1, Code2 and spare of a row
// (0-based, in the table's current order).
PhoneEditTexts storedFields(const Table &table, int row);

// Empty when the entry may be written. Otherwise the message that names the
// entry by its Name and RoomNumber and the first field that holds such a
// character, with its value; the characters are shown as the phone list
// file writes them.
QString refusal(const PhoneEditTexts &entry);

} // namespace EntryWriteCheck
