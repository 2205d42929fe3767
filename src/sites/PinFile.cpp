#include "sites/PinFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace PinFile {

namespace {
bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

bool writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}
} // namespace

QString checkPin(const QByteArray &pin)
{
    if (pin.isEmpty())
        return QStringLiteral("The PIN is empty");
    if (pin.size() > kMaxPinLength)
        return QStringLiteral("The PIN is longer than %1 characters").arg(kMaxPinLength);
    for (char c : pin)
        if (c == '\r' || c == '\n' || c == '\0' || c == '\xFF')
            return QStringLiteral("The PIN holds a character the Corvalen cannot take");
    return {};
}

Read read(const QString &path)
{
    Read result;
    QFile file(path);
    if (!file.exists()) {
        result.missing = true;
        result.error = QStringLiteral("There is no PIN file %1").arg(path);
        return result;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("Cannot open file %1").arg(path);
        return result;
    }
    // The mode of the file actually opened, not of whatever the name points
    // to by the time it is looked at.
    struct stat st{};
    if (fstat(file.handle(), &st) != 0 || !S_ISREG(st.st_mode)) {
        result.error = QStringLiteral("The PIN file %1 is not a plain file").arg(path);
        return result;
    }
    if ((st.st_mode & (S_IRGRP | S_IROTH | S_IWGRP | S_IWOTH)) != 0) {
        result.unsafe = true;
        result.error = QStringLiteral("The PIN file %1 can be read or changed by others than its owner, so it was not "
                                      "used; make it private first: chmod 600 %1")
                           .arg(path);
        return result;
    }
    if (st.st_uid != geteuid()) {
        result.unsafe = true;
        result.error = QStringLiteral("The PIN file %1 belongs to another user, so it was not used").arg(path);
        return result;
    }
    QByteArray line = file.read(kMaxPinLength + 3);
    const qsizetype end = line.indexOf('\n');
    if (end >= 0)
        line.truncate(end);
    if (line.endsWith('\r'))
        line.chop(1);
    if (const QString problem = checkPin(line); !problem.isEmpty()) {
        result.error = problem + QStringLiteral(" (in %1)").arg(path);
        return result;
    }
    result.pin = line;
    return result;
}

bool write(const QString &path, const QByteArray &pin, QString *error)
{
    if (const QString problem = checkPin(pin); !problem.isEmpty())
        return fail(error, problem);
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        return fail(error, QStringLiteral("Cannot create folder %1").arg(info.absolutePath()));
    // mkstemp creates the file with mode 0600 before a byte is in it, so
    // there is no moment when another user could open it.
    QByteArray temporary = QFile::encodeName(info.absoluteFilePath()) + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        return fail(error, QStringLiteral("Cannot create file %1").arg(path));
    const bool written = writeAll(fd, pin + '\n') && fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.constData(), QFile::encodeName(info.absoluteFilePath())) != 0) {
        ::unlink(temporary.constData());
        return fail(error, QStringLiteral("Cannot create file %1").arg(path));
    }
    return true;
}

bool remove(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.exists() || file.remove())
        return true;
    return fail(error, QStringLiteral("Cannot remove file %1").arg(path));
}

} // namespace PinFile
