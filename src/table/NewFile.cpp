#include "table/NewFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace NewFile {

namespace {

// The name taken by an exclusive create; the claim is the caller's to fill.
Result claim(const QString &fileName)
{
    QFile file(fileName);
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return Result::Created;
    return QFileInfo::exists(fileName) || QFileInfo(fileName).isSymLink() ? Result::Exists : Result::CannotCreate;
}

} // namespace

Result create(const QString &fileName, const QByteArray &bytes, QFileDevice::Permissions permissions)
{
    const QFileInfo target(fileName);
    if (target.exists() || target.isSymLink())
        return Result::Exists;
    QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX"));
    if (!temp.open())
        return Result::CannotCreate;
    if (permissions)
        temp.setPermissions(permissions);
    const bool written = temp.write(bytes) == bytes.size() && temp.flush() && ::fsync(temp.handle()) == 0
                         && temp.size() == bytes.size();
    if (!written)
        return Result::ShortWrite;

    const QByteArray from = QFile::encodeName(temp.fileName());
    const QByteArray to = QFile::encodeName(fileName);
    // A hard link is made only when the name is free: the test and the
    // taking are one step for the file system.
    if (::link(from.constData(), to.constData()) == 0)
        return Result::Created; // the temporary name goes with `temp`
    if (errno == EEXIST)
        return Result::Exists;
    if (errno != EPERM && errno != EOPNOTSUPP && errno != EXDEV && errno != EMLINK)
        return Result::CannotCreate;

    const Result claimed = claim(fileName);
    if (claimed != Result::Created)
        return claimed;
    temp.setAutoRemove(false);
    temp.close();
    if (std::rename(from.constData(), to.constData()) != 0) {
        QFile::remove(temp.fileName());
        QFile::remove(fileName);
        return Result::CannotCreate;
    }
    return Result::Created;
}

} // namespace NewFile
