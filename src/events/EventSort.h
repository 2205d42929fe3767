#pragma once

#include "table/Table.h"

#include <QByteArray>

// Sorting the event grid by a click on a column title.
namespace EventSort {

// The field a click on a column title sorts by: Time and Date sort by Event
// (the order in which the panel delivered the events, which is also the
// order in time); every other column by its own field.
QByteArray sortFieldFor(const QByteArray &column);

} // namespace EventSort

// The title click of the event grid: sorts ascending and case-sensitively by
// sortFieldFor(column), replacing any earlier sort, and makes the first row
// of the new order current. Text columns compare as text, so "100" comes
// before "20". Does nothing (false) before the first download, while the
// table is closed, or for a column the table does not have.
bool DBGrid2TitleClick(Table &EventTable, const QByteArray &column);
