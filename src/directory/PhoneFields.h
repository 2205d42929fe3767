#pragma once

#include "table/Table.h"

// The eight fields of a directory entry, in table and file order, with their
// widths. The panel line parser uses the same widths as its field limits.
namespace PhoneFields {

constexpr int kNameWidth = 16;
constexpr int kRoomWidth = 6;
constexpr int kPhoneWidth = 16;
constexpr int kCodeWidth = 4;
constexpr int kSpareWidth = 2;
constexpr int kRfidWidth = 10;
constexpr int kAddrWidth = 4;

inline constexpr const char *Name = "Name";
inline constexpr const char *RoomNumber = "RoomNumber";
inline constexpr const char *PHnumber = "PHnumber";
inline constexpr const char *Code1 = "Code1";
inline constexpr const char *Code2 = "Code2";
inline constexpr const char *Spare = "spare";
inline constexpr const char *Rfid = "RFID";
inline constexpr const char *Addr = "Addr";

QList<Table::Field> definition();

} // namespace PhoneFields
