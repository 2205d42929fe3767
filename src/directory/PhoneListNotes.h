#pragma once

#include "table/TableRead.h"

#include <QString>

// What a phone list from a spreadsheet lost on the way into the table, told
// once after the load: characters the panel cannot hold (now "?"), values
// cut to their field's width, entries without a Name or a Room, and columns
// that match no field. Entries are named by their row in the file (the
// header's row being 1) and their name; each kind lists at most kMaxListed.
// Empty when nothing was lost or the file is in the program's own form.
namespace PhoneListNotes {

inline constexpr int kMaxListed = 10;

QString text(const TableRead &read, const QString &fileName);

} // namespace PhoneListNotes
