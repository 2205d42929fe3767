#pragma once

#include "backup/BackupEntry.h"

#include <QDateTime>
#include <QList>

// How long backups are kept. Of each site and kind the newest 100 stay
// whatever their age, and no backup younger than 30 days goes; only one
// that is both beyond the newest 100 of its site and kind and taken 30 days
// or more before `now` may be deleted. Each site counts on its own (the
// backups taken outside any site are one more such group): however many
// backups other buildings have, they never push out a site's own. Ages come from the names, not from the files'
// times, and `now` is an argument, so the rule is the same on any day.
namespace BackupRetention {

inline constexpr int kKeepNewest = 100;
inline constexpr int kKeepDays = 30;

// The backups that may be deleted.
QList<BackupEntry> expired(QList<BackupEntry> entries, const QDateTime &now);

} // namespace BackupRetention
