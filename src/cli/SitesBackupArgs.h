#pragma once

#include <QString>
#include <QStringList>

// The words of "sites backup [--all | NAME...] [--parallel N] [--json]" and
// of the hidden "sites backup-one NAME --book FILE" that each site's process
// runs. action is empty for any other sites command.
struct SitesBackupArgs
{
    QString action; // "backup", "backup-one" or empty
    QStringList names;
    bool all = false;
    bool json = false;
    bool help = false;
    int parallel = 0; // 0: the default
    QString book;
    QString error;

    static SitesBackupArgs parse(const QStringList &args);
};
