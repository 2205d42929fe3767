#pragma once

#include "archive/ArchiveParties.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <optional>

// A site's event archive: every event the panel's log has ever shown in a
// download, once, in the order the panel logged them, kept in
// `events.sqlite` in the folder it is given (a site's folder, or the working
// folder without a site).
//
// Recording a download (the window's Down Load, `corvalen-cli events get`,
// the nightly backup job): once the event reply has arrived, hand over the
// lines between the reply's first line and its "OK" exactly as they came,
// oldest first, with the computer's time of the download and, when it was
// read, the panel's clock:
//
//     EventArchive archive(siteFolder);
//     if (!archive.open(&error)) ...report error...
//     EventArchive::Download d;
//     d.lines = eventLines;                      // without CR LF, in reply order
//     d.downloadedAt = QDateTime::currentDateTime();
//     d.panelClock = ArchiveDates::panelClock(log.clock.Stime(), log.clock.Sdate(), d.downloadedAt);
//     d.via = QStringLiteral("window");          // or "corvalen-cli", "backup job"
//     const EventArchive::Added added = archive.addDownload(d);
//
// Record every completed download, also one that stopped at a line the
// event grid cannot read (the archive keeps such lines), and record them in
// the order they were made: a download continues the archive where its
// first events are the archive's last ones (ArchiveOverlap), so a download
// recorded after a later one would be taken for a log that was cleared.
// The event grid, the clock fields and the ".Evt" file do not change.
//
// The store may be used by several processes at once (the window, the
// command line, the backup job): each download goes in one transaction that
// takes the write lock before it looks at the archive's end, and waits up to
// kBusyTimeoutMs for another writer. Use each object from one thread; open
// as many as needed (each has its own connection).
class EventArchive
{
public:
    static constexpr const char *kFileName = "events.sqlite";
    static constexpr int kBusyTimeoutMs = 15000;

    explicit EventArchive(const QString &folder);
    ~EventArchive();
    EventArchive(const EventArchive &) = delete;
    EventArchive &operator=(const EventArchive &) = delete;

    // Opens the store, creating the folder and the file when missing. False,
    // with the reason, when it cannot be opened or was written by a newer
    // version of the program.
    bool open(QString *error = nullptr);
    bool isOpen() const { return db_.isOpen(); }
    QString fileName() const { return fileName_; }

    struct Download
    {
        QList<QByteArray> lines;             // the event lines, oldest first, without CR LF
        QDateTime downloadedAt;              // the computer's clock at the download
        std::optional<QDateTime> panelClock; // the panel's clock at the download, when read
        QString via = QStringLiteral("window");
    };
    struct Added
    {
        bool ok = false;
        int received = 0;     // lines in the download
        int added = 0;        // events new to the archive
        int undated = 0;      // of those, events whose line holds no date that can be
        qint64 download = 0;  // the download's number
        QString error;        // why nothing was added (ok false)
    };
    // Adds the events of a download that the archive does not hold yet, and
    // notes the download itself (when, who, via, how many), in one
    // transaction: all or nothing.
    Added addDownload(const Download &download);

    // Every event of the archive; -1 on a database error.
    qint64 eventCount();

    struct DownloadInfo
    {
        qint64 id = 0;
        QDateTime at; // UTC
        std::optional<QDateTime> panelClock;
        int lines = 0;
        int added = 0;
        QString who; // user@host
        QString via;
    };
    // The recorded downloads, oldest first.
    QList<DownloadInfo> downloads(QString *error = nullptr);
    // When a download was made (UTC); invalid for an unknown number.
    QDateTime downloadTime(qint64 id);

    // For the queries over the store (ArchiveSelection).
    QSqlDatabase &database() { return db_; }
    // The rooms and clients, up to date with the store.
    ArchiveParties &parties();

    // "user@host" of this process, as downloads record it.
    static QString who();

private:
    bool exec(const QString &sql, QString *error);

    QString folder_;
    QString fileName_;
    QString connection_;
    QSqlDatabase db_;
    ArchiveParties parties_;
    QHash<qint64, QDateTime> downloadTimes_;
};
