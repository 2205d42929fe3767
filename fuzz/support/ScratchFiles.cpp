#include "support/ScratchFiles.h"

#include "support/FuzzCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace ScratchFiles {

namespace {
QTemporaryDir &folder()
{
    static const QString given = qEnvironmentVariable("CORVALEN_FUZZ_SCRATCH");
    static const QString base = !given.isEmpty()                                   ? given
                                : QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm")
                                                                                   : QDir::tempPath();
    static QTemporaryDir dir(base + QStringLiteral("/corvalen-fuzz-XXXXXX"));
    FUZZ_CHECK(dir.isValid());
    return dir;
}
} // namespace

QString path(const QString &name)
{
    return folder().filePath(name);
}

void put(const QString &fileName, const QByteArray &bytes)
{
    QFile file(fileName);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
}

QByteArray get(const QString &fileName)
{
    QFile file(fileName);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

} // namespace ScratchFiles
