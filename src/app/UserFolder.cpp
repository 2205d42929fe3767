#include "app/UserFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString UserFolder::path(const QString &documentsFolder)
{
    return QDir(documentsFolder).filePath(QLatin1String(kName));
}

QString UserFolder::path()
{
    return path(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

bool UserFolder::enter(const QString &folder, QString *error)
{
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir()) {
        *error = QStringLiteral("Cannot create folder %1: a file of that name is in the way").arg(folder);
        return false;
    }
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("Cannot create folder %1").arg(folder);
        return false;
    }
    if (!QDir::setCurrent(folder)) {
        *error = QStringLiteral("Cannot work in folder %1").arg(folder);
        return false;
    }
    return true;
}
