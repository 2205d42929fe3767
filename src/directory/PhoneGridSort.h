#pragma once

#include <QByteArray>

class Table;

// The sorts of the phone grid.
namespace PhoneGridSort {

// A click on a title of DBGrid1: the table, refreshed, is sorted on the
// column's field ignoring case, and the cursor goes to the first entry
// (also when the field is unknown).
void DBGrid1TitleClick(Table &table, const QByteArray &fieldName);

// The hidden "Sort on addr" button: sorted on "Addr", case-sensitive.
void SortbyAddrClick(Table &table);

} // namespace PhoneGridSort
