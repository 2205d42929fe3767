#pragma once

#include <QByteArray>
#include <QList>

// The panel's RFID store: 128 records, 1408 to 1535, each of 64 characters
// holding four entries of a room (6 characters, filled with "?") and a code
// (10 characters in panel form). In panel form a hexadecimal digit of value
// v is the character 48 + v, so A-F travel as ":" to "?"; an entry whose code
// is all "?" is empty, and an erased record is 64 "?". A record read
// back starts with five characters (the record number and a separator) that
// are not interpreted.
namespace StoreCodec {

constexpr int kFirstRecord = 1408;
constexpr int kLastRecord = 1535;
constexpr int kEntriesPerRecord = 4;
constexpr int kRoomWidth = 6;
constexpr int kCodeWidth = 10;
constexpr int kEntryWidth = kRoomWidth + kCodeWidth;
constexpr int kRecordWidth = kEntriesPerRecord * kEntryWidth;
constexpr int kReplyPrefix = 5;

struct Entry
{
    QByteArray room; // DecodeStoreRoom of the room characters
    QByteArray code; // DecodeStoreCode of the code characters (table form)
};

// "0"-"9" stay, ":" to "?" become "A" to "F"; any other character gives the
// empty text (it is dropped from the code).
QByteArray PanelCharToHex(char c);
// "A"-"F" become ":" to "?", and so do "a"-"f" (a table may still hold
// lower case from an older file); everything else stays as it is.
QByteArray HexToPanelChars(const QByteArray &code);
// A code in the form the panel keeps, upper-case hexadecimal: "a"-"f"
// become "A"-"F", everything else stays. Codes take this form as they enter
// the table, so that the directory's codes compare with what a DownLoad
// brings back.
QByteArray UpperCaseCode(const QByteArray &code);
// The room characters before the first "?" or byte 255.
QByteArray DecodeStoreRoom(const QByteArray &room);
// Empty when there are no characters or all of them are "?" (an empty
// entry); otherwise the characters through PanelCharToHex, joined. A code
// whose first digit is F also begins with "?" and is a code all the same:
// taking it for empty would drop a tag from the directory at DownLoad and
// from the panel at the next Write All.
QByteArray DecodeStoreCode(const QByteArray &code);

// The four entries of a record line as read (its first five characters are
// skipped); entries cut off by a short line come out with empty parts.
QList<Entry> entries(const QByteArray &replyLine);

// One entry as written: the room filled with "?" to six characters (or cut
// to six), then the code in panel form.
QByteArray packEntry(const QByteArray &room, const QByteArray &code);
// A record's text filled up with "?" to 64 characters.
QByteArray padRecord(const QByteArray &text);

} // namespace StoreCodec
