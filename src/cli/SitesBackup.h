#pragma once

#include "sites/Site.h"

#include <QList>
#include <QString>
#include <QStringList>

class CliConsole;

// "sites backup": every chosen site backed up, each by a process of its own
// (`corvalen-cli sites backup-one NAME`, see SiteBackupOne) on its own
// connection, up to `parallel` at a time; two sites on the same address
// (one serial device, one serial server's port) never at once. A site that
// fails does not stop the others. A line per site as it finishes, a
// summary, or with --json an array of one object per site. Each result goes
// into the book (recordBackup), from this process alone.
//
// Exit status: 0 every site backed up, 1 any failed, 3 none reached.
class SitesBackup
{
public:
    static constexpr int kDefaultParallel = 8;
    static constexpr int kMaxParallel = 64;
    // A site's process that has not finished by then is ended: every wait
    // of the panel's commands is bounded, so this only catches a hang.
    static constexpr int kSiteTimeoutMs = 30 * 60 * 1000;

    struct Result
    {
        QString site;
        bool ok = false;
        bool reached = false;
        int exit = 3;
        QString message;
        QStringList changed;
        int newEvents = 0;
        QString model;
        double durationS = 0;
    };

    // program: the corvalen-cli to start for each site.
    SitesBackup(CliConsole &console, QString program, QString bookFile);

    // Backs up sites with at most `parallel` at once and prints as it goes.
    int run(const QList<Site> &sites, int parallel, bool json);

    // The key under which two sites share a line: their address, normalised.
    static QString lineKey(const QString &address);
    // The line printed for one site.
    static QString line(const Result &result);
    // 0, 1 or 3 for these results.
    static int exitFor(const QList<Result> &results);
    // What the process printed, as a result (its last JSON line), or a
    // failure naming what went wrong.
    static Result parse(const QString &site, const QByteArray &out, const QByteArray &err, int exitCode,
                        bool crashed);

private:
    CliConsole &console_;
    QString program_;
    QString bookFile_;
};
