#include "link/DeviceAccess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

DeviceAccess::DeviceAccess() = default;

DeviceAccess::DeviceAccess(Folders folders)
    : folders_(std::move(folders))
{
}

QString DeviceAccess::permissionMessage(const QString &group, bool listedInGroup)
{
    if (group.isEmpty() || group == QLatin1String("root"))
        return QStringLiteral("No permission: only the administrator may open it (a udev rule can give "
                              "the dialout group access)");
    if (listedInGroup)
        return QStringLiteral("No permission yet: you are in the %1 group, but this login started before; "
                              "log out and in again")
            .arg(group);
    return QStringLiteral("No permission: add yourself to the %1 group (sudo adduser $USER %1), then log in again")
        .arg(group);
}

QString DeviceAccess::permissionProblem(const QString &node)
{
    const QByteArray path = QFile::encodeName(node);
    if (::access(path.constData(), R_OK | W_OK) == 0)
        return {};
    if (errno != EACCES && errno != EPERM)
        return {}; // gone or unreadable for another reason; the open will say
    struct stat st{};
    if (::stat(path.constData(), &st) != 0)
        return {};
    QString group;
    bool listed = false;
    if (const struct group *g = ::getgrgid(st.st_gid)) {
        group = QString::fromLocal8Bit(g->gr_name);
        if (const struct passwd *me = ::getpwuid(::geteuid()))
            for (char **member = g->gr_mem; member && *member; ++member)
                listed = listed || std::strcmp(*member, me->pw_name) == 0;
    }
    return permissionMessage(group, listed);
}

QString DeviceAccess::openRefusal(const QString &node) const
{
    const QString holder = holders({node}).value(node);
    if (!holder.isEmpty())
        return QStringLiteral("%1: another program holds the port. Close it, or use another port.").arg(holder);
    const QString permission = permissionProblem(node);
    if (!permission.isEmpty())
        return permission;
    return QStringLiteral("The device is busy: another program may hold it (one of another user, whose open "
                          "files cannot be seen). Close it, or use another port.");
}

bool DeviceAccess::processRuns(qint64 pid) const
{
    return pid > 0 && QFileInfo::exists(QDir(folders_.proc).filePath(QString::number(pid)));
}

QString DeviceAccess::processName(qint64 pid) const
{
    QFile comm(QDir(folders_.proc).filePath(QStringLiteral("%1/comm").arg(pid)));
    const QString name = comm.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(comm.readLine(64)).trimmed()
                                                        : QString();
    return name.isEmpty() ? QStringLiteral("In use by process %1").arg(pid)
                          : QStringLiteral("In use by %1 (process %2)").arg(name).arg(pid);
}

// UUCP lock files: "LCK..ttyUSB0" holding the owner's process number, as
// text (QLockFile and most programs) or as a 4-byte binary number (old ones).
QString DeviceAccess::holderFromLockFile(const QString &node) const
{
    // By the node's name ("LCK..ttyUSB0"), and as the serial port library
    // names it, by its path below /dev ("LCK..pts_3", "LCK..serial_by-id_...").
    QStringList lockNames{QStringLiteral("LCK..") + QFileInfo(node).fileName()};
    if (node.startsWith(QLatin1String("/dev/")))
        lockNames << QStringLiteral("LCK..") + node.mid(5).replace(QLatin1Char('/'), QLatin1Char('_'));
    lockNames.removeDuplicates();
    for (const QString &folder : folders_.locks)
        for (const QString &lockName : std::as_const(lockNames)) {
            QFile lock(QDir(folder).filePath(lockName));
            if (!lock.open(QIODevice::ReadOnly))
                continue;
            const QByteArray content = lock.read(64);
            bool ok = false;
            qint64 pid = content.split('\n').value(0).trimmed().toLongLong(&ok);
            if (!ok && content.size() == 4)
                pid = qFromLittleEndian<qint32>(content.constData()), ok = true;
            if (ok && pid != QCoreApplication::applicationPid() && processRuns(pid))
                return processName(pid);
        }
    return {};
}

QHash<QString, QString> DeviceAccess::holders(const QStringList &nodes) const
{
    QHash<QString, QString> found;
    QHash<QString, QString> byCanonical; // canonical path -> node as listed
    for (const QString &node : nodes) {
        if (const QString holder = holderFromLockFile(node); !holder.isEmpty())
            found.insert(node, holder);
        const QString canonical = QFileInfo(node).canonicalFilePath();
        byCanonical.insert(canonical.isEmpty() ? node : canonical, node);
    }
    if (byCanonical.isEmpty())
        return found;

    // Plain readdir and readlink: the dialog does this every second, and
    // QDir and QFileInfo over a few thousand descriptors cost ten times more.
    const qint64 self = QCoreApplication::applicationPid();
    const QByteArray proc = QFile::encodeName(folders_.proc);
    DIR *processes = ::opendir(proc.constData());
    if (!processes)
        return found;
    while (const dirent *process = ::readdir(processes)) {
        char *end = nullptr;
        const long long pid = std::strtoll(process->d_name, &end, 10);
        if (end == process->d_name || *end != '\0' || pid == self)
            continue;
        const QByteArray fdFolder = proc + '/' + process->d_name + "/fd";
        DIR *fds = ::opendir(fdFolder.constData()); // other users' tables cannot be opened
        if (!fds)
            continue;
        while (const dirent *fd = ::readdir(fds)) {
            if (fd->d_name[0] == '.')
                continue;
            char target[4096];
            const QByteArray link = fdFolder + '/' + fd->d_name;
            const ssize_t size = ::readlink(link.constData(), target, sizeof target - 1);
            if (size <= 0 || target[0] != '/')
                continue; // sockets, pipes and the like
            const auto hit = byCanonical.constFind(QFile::decodeName(QByteArray(target, size)));
            if (hit != byCanonical.constEnd() && !found.contains(*hit))
                found.insert(*hit, processName(pid));
        }
        ::closedir(fds);
    }
    ::closedir(processes);
    return found;
}
