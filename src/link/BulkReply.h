#pragma once

#include <QByteArray>
#include <QList>

// The reply to a bulk read ("d" of the directory or the parameter records,
// "s" of the RFID store): a first line that names the command, one line a
// record, and the panel's "OK" line. A reply may be shorter than that (a
// bare "OK", nothing at all), so the record lines are only ever taken here,
// never by cutting a first and a last line off a list that may not hold two.
namespace BulkReply {

// The lines between the first line and the "OK" line (`ended`: the reply's
// last line is its "OK"), or every line after the first when the reply did
// not end (`ended` false). None when the reply has no such line.
QList<QByteArray> recordLines(const QByteArray &reply, bool ended = true);

// How many of those lines hold anything: an empty line is not a record. A
// whole reply with none holds none of the records asked for, which is a
// failed read, never an empty directory or store.
int recordCount(const QList<QByteArray> &lines);

} // namespace BulkReply
