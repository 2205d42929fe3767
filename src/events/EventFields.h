#pragma once

#include "table/Table.h"

// The seven fields of an event row, in table, grid and file order. Event is
// the event's number in the download; the others are text of fixed width.
namespace EventFields {

inline constexpr const char *Event = "Event";
inline constexpr const char *RoomNumber = "RoomNumber";
inline constexpr const char *Date = "Date";
inline constexpr const char *Time = "Time";
inline constexpr const char *RlyNo = "RlyNo";
inline constexpr const char *Source = "Source";
inline constexpr const char *Client = "Client";

constexpr int kRoomWidth = 6;
constexpr int kDateWidth = 8;
constexpr int kTimeWidth = 8;
constexpr int kRelayWidth = 1;
constexpr int kSourceWidth = 6;
constexpr int kClientWidth = 16;

QList<Table::Field> definition();

} // namespace EventFields

// Closes the event table, drops its rows, sort and fields, and defines the
// seven event fields afresh. The table stays closed until opened.
void DefineEventTable(Table &EventTable);
