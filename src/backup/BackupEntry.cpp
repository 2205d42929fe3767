#include "backup/BackupEntry.h"

QString BackupEntry::countText() const
{
    if (count < 0)
        return QStringLiteral("unreadable");
    QString unit;
    switch (name.kind) {
    case BackupKind::Directory: unit = count == 1 ? QStringLiteral("resident") : QStringLiteral("residents"); break;
    case BackupKind::Parameters: unit = count == 1 ? QStringLiteral("record") : QStringLiteral("records"); break;
    case BackupKind::Tags: unit = count == 1 ? QStringLiteral("tag") : QStringLiteral("tags"); break;
    }
    return QString::number(count) + QLatin1Char(' ') + unit;
}
