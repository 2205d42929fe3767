#pragma once

#include "archive/ArchivedEvent.h"

#include <QByteArray>
#include <QIODevice>
#include <QJsonObject>
#include <QString>

class ArchiveSelection;

// The selected events for other programs, written as they are read (a
// million events never stand in memory at once).
//
// JSON: an array of objects, one an event, in the selection's order:
//   "date"       "YYYY-MM-DD", or null when the line holds no date that can be
//   "time"       "hh:mm:ss" (as the panel sent it when it is no time that can be)
//   "room", "relay", "source", "client" (without the blanks the panel fills it with)
//   "kind"       "room", "InCall", "Butt." or "error"
//   "panelDate"  the date as the event grid shows it ("09/03/26")
//   "line"       the line as the panel sent it
//   "downloaded" when it was downloaded, UTC ISO 8601
// Texts are the panel's 8-bit characters read as Latin-1.
//
// CSV: the form spreadsheet programs read (UTF-8 after a byte-order mark,
// quoted where needed, CR LF), the columns Date, Time, RoomNumber, RlyNo,
// Source, Client, Kind, Downloaded; a value that starts with "=", "+", "-",
// "@", a tab or a CR gets an apostrophe in front, so that a spreadsheet shows
// it instead of running it as a formula.
namespace ArchiveExport {

QJsonObject toJson(const ArchivedEvent &event);
// The values of the CSV columns (after the apostrophe rule), Latin-1.
QList<QByteArray> csvValues(const ArchivedEvent &event);
QByteArray protectedCell(const QByteArray &value);

bool writeJson(ArchiveSelection &selection, QIODevice &out, QString *error = nullptr);
bool writeCsv(ArchiveSelection &selection, QIODevice &out, char separator, QString *error = nullptr);

// The same into a file, replaced atomically: "Cannot create file <name>"
// when it cannot be written, and an older file stays whole.
bool saveJson(ArchiveSelection &selection, const QString &fileName, QString *error = nullptr);
bool saveCsv(ArchiveSelection &selection, const QString &fileName, char separator, QString *error = nullptr);

} // namespace ArchiveExport
