#pragma once

#include "backup/BackupKind.h"
#include "directory/PanelEntry.h"
#include "parameters/ParameterRecordSet.h"
#include "rfid/StoreImage.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// What a version holds, in the program's own backup formats:
//
//  - directory: a phone list file (".csv") with every resident at its slot
//    ("Addr"), as DirectoryBackupContent::files writes it;
//  - parameters: the records 0001-0010 as the panel holds them
//    (ParameterRecordSet's ".records" file);
//  - tags: the RFID store record for record (StoreImage's ".rfid" file).
//
// The history keeps contents in a canonical form (read and written again),
// so that the same data always gives the same bytes and is kept once.
namespace HistoryContent {

QByteArray ofDirectory(const QList<PanelEntry> &entries);
QByteArray ofParameters(const ParameterRecordSet &records);
QByteArray ofTags(const StoreImage &image);

// A directory entry as the panel holds it after the text `text`
// (PanelEntryText) went to slot `slot`: what the next read will find. A
// write records its entries so, so that a read of the same panel afterwards
// counts as unchanged.
PanelEntry entryAsSent(const QByteArray &slot, const QByteArray &text);

struct Parsed
{
    BackupKind kind = BackupKind::Directory;
    QList<PanelEntry> entries;      // directory
    ParameterRecordSet records;     // parameters
    StoreImage tags;                // tags

    // Residents, parameter records held, tags with a room and a code.
    int count() const;
    // The content in canonical form.
    QByteArray bytes() const;
};

// None, with the reason, when the bytes are not a content of that kind (a
// phone list must begin with a header naming at least Name and
// RoomNumber).
std::optional<Parsed> parse(BackupKind kind, const QByteArray &bytes, QString *why);

// Which kind a file's bytes are: a parameter records file or an RFID store
// file by their first lines, a phone list by its header; none otherwise.
std::optional<BackupKind> kindOf(const QByteArray &bytes);

// A file of one of the three forms (a phone list ".csv", a ".records" or an
// ".rfid" file, such as a backup's), read and recognised; none, with the
// reason, otherwise. For `diff` against a file.
std::optional<Parsed> fromFile(const QString &fileName, QString *why);

} // namespace HistoryContent
