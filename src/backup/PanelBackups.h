#pragma once

#include "backup/BackupStore.h"
#include "link/ErasePermission.h"
#include "link/PanelContent.h"
#include "link/UserPrompt.h"

#include <QObject>
#include <optional>

struct DirectoryContext;

// The backups of the panel as the writes that erase see them. Before such a
// write the page asks its gate: the gate reads what the panel holds now
// (with the transfer window), saves it in the store, and asks the page's
// question with what the write will change as its details. A backup that
// cannot be read or saved stops the write with the reason, and only a second
// question (No by default) lets it go on without one. After a write that
// failed or was cut short, offerRestore() names the backup and offers to
// load it into its page.
class PanelBackups : public QObject, public ErasePermission
{
    Q_OBJECT
public:
    explicit PanelBackups(const BackupStore &store, QObject *parent = nullptr);

    BackupStore &store() { return store_; }

    struct Gate
    {
        bool proceed = false;              // the user said Yes: write
        std::optional<BackupEntry> backup; // what the panel held, when kept
    };
    // `question` holds the page's own question; its details are filled in.
    Gate beforeWrite(TransferContext &ctx, const PanelContent &written, UserPrompt::Question question);

    // The gate as the writes see it: the kept handle holds the backup.
    Answer mayErase(TransferContext &ctx, const PanelContent &written, UserPrompt::Question question) override;
    // The backup a handle of mayErase() stands for; none for a foreign one.
    static std::optional<BackupEntry> backupOf(const KeptHandle &kept);

    // After a backup could not be read or saved: says why and that nothing
    // was written, then asks, with No as the default answer, whether to
    // write without a backup. `what` names the data ("phone list").
    static bool writeWithoutBackup(UserPrompt &prompt, const QString &what, const QString &why);

    // After an erasing write that changed the panel failed or was cut short:
    // names the backup that holds what the panel held before and asks
    // whether to restore it; on Yes, restoreRequested(). A restore that
    // cannot run now (the link is down, or `lineLost`: the panel stopped
    // answering) is not offered: the message names the backup and how to
    // restore it later. False when there is no backup or nothing was asked.
    bool offerRestore(TransferContext &ctx, const std::optional<BackupEntry> &entry, const QString &what,
                      bool lineLost = false);
    bool offerRestore(TransferContext &ctx, const KeptHandle &kept, const QString &what,
                      bool lineLost = false) override;

    // Puts a backup back on the panel (BackupRestore), after keeping what the
    // panel holds now and asking with the comparison as details. Says how it
    // ended; true when every entry or record was taken. Holds the exchange
    // guard; refuses while offline. The backup restored is never pruned
    // meanwhile; the retention rule runs once the restore is over. After a
    // directory restore the table no longer counts as the panel's.
    bool restoreWithBackup(DirectoryContext &ctx, const BackupEntry &entry);

signals:
    // The user asked for this backup to go back on the panel (the window
    // runs restoreWithBackup once the failed write has ended).
    void restoreRequested(const BackupEntry &entry);
    // A backup was taken (ok, `message` its file) or could not be
    // (`message` why), before a write that erases.
    void backupKept(bool ok, const QString &message);

private:
    // For a restore's whole run: the backup restored is held in the store,
    // the backup taken before it is saved without pruning, and the
    // retention rule runs at the end.
    class RestoreHold
    {
    public:
        RestoreHold(PanelBackups &backups, const BackupEntry &entry);
        ~RestoreHold();

    private:
        PanelBackups &backups_;
        BackupEntry entry_;
    };

    Gate keep(TransferContext &ctx, BackupKind kind, const QString &what, const QString &readError,
              const QList<BackupStore::File> &files, int count, UserPrompt::Question question);

    BackupStore store_;
    int restoring_ = 0;
};
