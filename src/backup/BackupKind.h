#pragma once

#include <QString>

// What a backup holds: the phone directory (a phone list file, ".csv"), the
// parameter records (a parameter file, ".sys", with the records as the panel
// held them beside it) or the RFID store (".rfid").
enum class BackupKind { Directory, Parameters, Tags };

namespace BackupKinds {

// The word in the file name: "directory", "parameters", "tags".
QString word(BackupKind kind);
// What the Backups list shows: "Phone list", "Parameters", "RFID tags".
QString caption(BackupKind kind);
// The extension of the file that stands for the backup: "csv", "sys", "rfid".
QString primarySuffix(BackupKind kind);

} // namespace BackupKinds
