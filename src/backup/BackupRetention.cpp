#include "backup/BackupRetention.h"

#include <QHash>
#include <QPair>
#include <algorithm>

namespace BackupRetention {

QList<BackupEntry> expired(QList<BackupEntry> entries, const QDateTime &now)
{
    std::stable_sort(entries.begin(), entries.end(), [](const BackupEntry &a, const BackupEntry &b) {
        if (a.name.when != b.name.when)
            return a.name.when > b.name.when;
        return a.name.serial > b.name.serial;
    });
    const QDateTime limit = now.addDays(-kKeepDays);
    QList<BackupEntry> out;
    QHash<QPair<QString, int>, int> seen; // newer backups of the same site and kind
    for (const BackupEntry &entry : entries) {
        const int newer = seen[qMakePair(entry.name.site, int(entry.kind()))]++;
        if (newer >= kKeepNewest && entry.name.when <= limit)
            out.append(entry);
    }
    return out;
}

} // namespace BackupRetention
