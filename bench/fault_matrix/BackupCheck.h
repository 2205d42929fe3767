#pragma once

#include "backup/BackupKind.h"

#include <QByteArray>
#include <optional>

class MatrixRig;

// A backup kept before a write that erases must hold what the panel held.
// Both sides as one text that compares: the directory as its residents'
// slots and names, the parameters and the RFID store record for record.
namespace BackupCheck {

QByteArray panelHolds(MatrixRig &r, BackupKind kind);
// What the oldest backup of the kind in the rig's store holds; nothing when
// there is none (the program said it could not keep one). An unreadable
// backup holds "unreadable".
std::optional<QByteArray> keptHolds(MatrixRig &r, BackupKind kind);

} // namespace BackupCheck
