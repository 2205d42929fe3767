#include "backup/BackupRetention.h"

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
    int seen[3] = {0, 0, 0};
    for (const BackupEntry &entry : entries) {
        const int newer = seen[int(entry.kind())]++;
        if (newer >= kKeepNewest && entry.name.when <= limit)
            out.append(entry);
    }
    return out;
}

} // namespace BackupRetention
