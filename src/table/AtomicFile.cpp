#include "table/AtomicFile.h"

#include <QSaveFile>

namespace AtomicFile {

Result write(const QString &fileName, const QByteArray &bytes, QFileDevice::Permissions permissions)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return Result::CannotCreate;
    if (permissions)
        file.setPermissions(permissions);
    // QSaveFile buffers the bytes; when the disk refuses part of them late it
    // can still rename a short file over the old one. So the bytes are pushed
    // out and counted before the commit.
    const bool written = file.write(bytes) == bytes.size() && file.flush() && file.error() == QFileDevice::NoError
                         && file.size() == bytes.size();
    if (!written) {
        file.cancelWriting();
        return Result::ShortWrite;
    }
    return file.commit() ? Result::Saved : Result::ShortWrite;
}

} // namespace AtomicFile
