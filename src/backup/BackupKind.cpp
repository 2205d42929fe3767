#include "backup/BackupKind.h"

namespace BackupKinds {

QString word(BackupKind kind)
{
    switch (kind) {
    case BackupKind::Directory: return QStringLiteral("directory");
    case BackupKind::Parameters: return QStringLiteral("parameters");
    case BackupKind::Tags: break;
    }
    return QStringLiteral("tags");
}

QString caption(BackupKind kind)
{
    switch (kind) {
    case BackupKind::Directory: return QStringLiteral("Phone list");
    case BackupKind::Parameters: return QStringLiteral("Parameters");
    case BackupKind::Tags: break;
    }
    return QStringLiteral("RFID tags");
}

QString primarySuffix(BackupKind kind)
{
    switch (kind) {
    case BackupKind::Directory: return QStringLiteral("csv");
    case BackupKind::Parameters: return QStringLiteral("sys");
    case BackupKind::Tags: break;
    }
    return QStringLiteral("rfid");
}

} // namespace BackupKinds
