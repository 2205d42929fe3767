#pragma once

#include "backup/BackupEntry.h"

#include <QByteArray>
#include <QString>

// What the files of a backup hold, read back: how many residents, records
// or tags (for the Backups list), and the file of a given extension.
namespace BackupContent {

// Residents of a phone list, records of the parameters, tags of the RFID
// store; -1 when the backup's file cannot be read or is not of its kind.
int count(const BackupEntry &entry);

// The backup's file with that extension (without the dot); empty when it
// has none.
QString fileWithSuffix(const BackupEntry &entry, const QString &suffix);

// The whole file, at most 1 MB (far more than any backup takes). False, with
// "Cannot open file <name>" (and the reason on a second line), otherwise.
bool load(const QString &fileName, QByteArray *bytes, QString *error);

} // namespace BackupContent
