#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// Whether the user may open a serial device, and whether another program
// holds it, found without opening it. Opening a serial device raises DTR and
// RTS and closing it drops them, which some panels and adapters take as a
// reset; the device dialog refreshes every second, so it must not open
// anything. Instead:
//
// - permission: access(2) for reading and writing, and the device's group
//   for the fix (normally "dialout");
// - held: a UUCP lock file LCK..<name> in /var/lock or /run/lock whose
//   process still runs (QSerialPort, minicom and others leave one), or a
//   process of this user with the device among its open files in /proc.
//   Processes of other users cannot be seen there; their lock files can.
class DeviceAccess
{
public:
    struct Folders
    {
        QStringList locks{QStringLiteral("/var/lock"), QStringLiteral("/run/lock")};
        QString proc = QStringLiteral("/proc");
    };

    DeviceAccess();
    explicit DeviceAccess(Folders folders);

    // Empty when the user may read and write the device; else the reason
    // with the fix.
    static QString permissionProblem(const QString &node);
    // The message for a device of `group` the user may not open;
    // listedInGroup: the user is a member of the group in the system's
    // list, but this login does not carry it yet.
    static QString permissionMessage(const QString &group, bool listedInGroup);

    // Why an open that the system refused (a permission error) failed: the
    // program that holds the device, when one does; else the permission
    // the user lacks, with the fix; else that the device is busy. The
    // serial port library reports a device that another program holds (its
    // lock file, or its exclusive use) as a permission error, also to root.
    QString openRefusal(const QString &node) const;

    // For each node (device paths as the system lists them) that another
    // process holds, who it is: "In use by minicom (process 4242)". One pass
    // over the lock folders and /proc for all nodes.
    QHash<QString, QString> holders(const QStringList &nodes) const;

private:
    QString holderFromLockFile(const QString &node) const;
    QString processName(qint64 pid) const;
    bool processRuns(qint64 pid) const;

    Folders folders_;
};
