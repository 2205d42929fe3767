#pragma once

#include <QByteArray>
#include <optional>

class Table;

// The panel's directory slots: 32-byte records from address 1000 (hex) up to
// the model's last slot DirectoryEnd, in steps of 20 (hex). An entry's "Addr"
// holds its slot as four upper-case hexadecimal digits, or, for an entry that
// the RFID download appended, a placeholder "p" and a number, which names no
// slot at all.
namespace DirectorySlots {

constexpr qint32 kFirst = 0x1000;
constexpr qint32 kStep = 0x20;

// Four upper-case hexadecimal digits.
QByteArray text(qint32 address);
// The address named by four hexadecimal digits (either case); none otherwise.
std::optional<qint32> value(const QByteArray &addr);
constexpr qint32 kLastOfAnyModel = 0x9000; // the directory read covers 1000-9000

// Whether addr names a directory slot of a model whose last slot is
// directoryEnd: four hexadecimal digits on the slot grid from 1000 on. For
// a model that was not recognised (directoryEnd below 1000) the slots of
// the directory read, up to 9000, count.
bool isDirectorySlot(const QByteArray &addr, qint32 directoryEnd);
// "p" followed by decimal digits: an entry the RFID download appended.
bool isPlaceholder(const QByteArray &addr);
// How many entries the upload writes at most: (directoryEnd - 4096) / 32,
// rounded; negative for an unrecognised model (directoryEnd 0).
int uploadLimit(qint32 directoryEnd);
// How many slots lie from 1000 (hex) to directoryEnd: 105, 209, 521, 1025;
// none below 1000.
int slotCount(qint32 directoryEnd);

} // namespace DirectorySlots

// The first slot that no entry of the table uses, or "0000" when every slot
// is used or directoryEnd lies below the first slot. The table is left
// sorted on "Addr" (case-sensitive), so a grid shows it in slot order.
// Placeholders never count as used slots.
QByteArray FindFreeSlot(Table &table, qint32 directoryEnd);
