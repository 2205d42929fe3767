#pragma once

#include "history/HistoryVersion.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

class ContentBlobs;

// What one versions-adding call brings along (HistoryStore::add).
struct HistoryRecord
{
    BackupKind kind = BackupKind::Directory;
    HistoryAction action = HistoryAction::Read;
    QByteArray content;   // HistoryContent: ofDirectory, ofParameters, ofTags
    QString model;        // BackupName::modelToken(DirectoryEnd)
    QString via;          // HistoryVia::kWindow, kCli, kBackupJob
    QString who;          // empty: HistoryWho::current()
    QDateTime time;       // invalid: now
    std::optional<HistoryWriteResult> result; // writes
    QString note;
    // Set by HistoryImport: the backup a version was read from. A version
    // with a source is always added (never taken for a sighting) and only
    // once: a second add of the same source adds nothing, nor does one whose
    // content a version of its kind already holds for that second (recorded
    // when the backup was taken, or seen again over it).
    QString source;
};

// The version history of one panel (a site's, or without a site the working
// folder's): `history.sqlite` in the folder it is given.
//
// Every complete read of the panel and every backup taken before a write is
// a version, unless the panel holds exactly what the latest version of that
// kind holds: then only the time it was seen is kept (a sighting). Every
// write is a version: what was written and how it ended. Each version
// records when, who (user@host), through what (window, corvalen-cli, backup
// job), the model, how many entries, and what changed since the version
// before of the same kind. Ids are stable integers, never reused.
//
// Each distinct content is stored once, compressed, mostly as a line delta
// against the version before (ContentBlobs), so 10,000 versions of a
// 1000-entry directory take a few megabytes.
//
// Several programs (the window, corvalen-cli, a nightly job's threads) may
// use one history at once: each change is one SQLite transaction, taken
// with the write lock first and waited for at most 5 s; nothing is lost or
// half-written, and a crash or a full disk leaves everything committed
// before readable. Each object has its own connection and is used from one
// thread.
//
// Recording from a transfer (for the window and corvalen-cli):
//
//     HistoryStore history(siteFolder);            // or the working folder
//     QString why;
//     if (history.open(&why)) {
//         HistoryRecord r;
//         r.kind = BackupKind::Directory;
//         r.action = HistoryAction::Read;          // download; Backup for the backup before a write
//         r.content = HistoryContent::ofDirectory(DirectoryTransfer::replyEntries(reply, true));
//         r.model = BackupName::modelToken(link.conn().DirectoryEnd);
//         r.via = HistoryVia::kWindow;             // kCli in corvalen-cli
//         const HistoryStore::Added added = history.add(r);
//         if (!added.ok()) prompt.message(added.error, UserPrompt::Kind::Error);
//     }
//
// A write records what it sent and how it ended, after it ended (also when
// it failed): r.action = HistoryAction::Write, r.content = the entries as
// sent (HistoryContent::entryAsSent(slot, PanelEntryText...) for each one,
// so that the next read of an unchanged panel is a sighting of the write),
// the parameter records written, or the RFID store image written;
// r.result = {written, total, refused, cutShort, refusedItems}. The
// parameters' Read All records the records 0001-0010 it read
// (ParameterRecordSet), the RFID download the StoreImage. A history that
// cannot be opened or saved to must not stop a transfer: say why and go on.
class HistoryStore
{
public:
    static inline const QString kFileName = QStringLiteral("history.sqlite");

    // Nothing is opened yet.
    explicit HistoryStore(const QString &folder);
    ~HistoryStore();
    HistoryStore(const HistoryStore &) = delete;
    HistoryStore &operator=(const HistoryStore &) = delete;

    // Opens the history, making the folder and the file when missing. False,
    // with the reason, when it cannot be opened or is not a history (the
    // file is then left untouched).
    bool open(QString *why);
    bool isOpen() const { return open_; }
    QString folder() const { return folder_; }
    QString fileName() const;
    // The Qt SQL connection of this object (for tools that need the raw
    // database, such as a test that limits its size).
    QString connectionName() const { return connection_; }

    struct Added
    {
        enum class Outcome { Added, Sighting, AlreadyThere, Failed };
        Outcome outcome = Outcome::Failed;
        qint64 id = 0;    // the new version, the version sighted, or the one already there
        QString error;    // why it failed
        bool ok() const { return outcome != Outcome::Failed; }
    };
    // Adds a version, or records a sighting (see above). The content is
    // checked and kept in canonical form; content that is not of the kind is
    // refused with the reason. A version whose time is older than the latest
    // of its kind (an imported backup) takes its place in time, and the
    // counts of the version after it are computed again.
    Added add(const HistoryRecord &record);

    struct Filter
    {
        std::optional<BackupKind> kind;
        std::optional<HistoryAction> action;
    };
    // Newest first (by time, then id). Empty when closed or on error.
    QList<HistoryVersion> versions(const Filter &filter = {}) const;
    // Writes only, newest first: the audit list.
    QList<HistoryVersion> writes() const { return versions({std::nullopt, HistoryAction::Write}); }
    std::optional<HistoryVersion> version(qint64 id) const;
    // The latest version of a kind, if any.
    std::optional<HistoryVersion> latest(BackupKind kind) const;

    // A version's content (HistoryContent form), checked against its hash;
    // none, with the reason, for an unknown id or a damaged copy.
    std::optional<QByteArray> content(qint64 id, QString *why);

    struct Size
    {
        int versions = 0;
        int contents = 0;       // distinct contents kept
        int wholeCopies = 0;    // of which whole (the rest are deltas)
        qint64 bytesOnDisk = 0; // the file and its write-ahead log
    };
    Size size() const;
    QString lastError() const { return lastError_; }

private:
    Added fail(const QString &why);

    QString folder_;
    QString connection_;
    bool open_ = false;
    std::unique_ptr<ContentBlobs> blobs_;
    mutable QString lastError_;
};
