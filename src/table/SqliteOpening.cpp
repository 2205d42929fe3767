#include "table/SqliteOpening.h"

#include <QDir>
#include <QFileInfo>

SqliteOpening::SqliteOpening(const QString &databaseFile, int waitMs)
    : lock_(databaseFile + QStringLiteral(".opening"))
{
    QDir().mkpath(QFileInfo(databaseFile).absolutePath());
    lock_.setStaleLockTime(30000);
    held_ = lock_.tryLock(waitMs);
}
