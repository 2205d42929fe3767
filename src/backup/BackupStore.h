#pragma once

#include "backup/BackupEntry.h"
#include "link/PanelContent.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The backups folder: what the panel held before each erasing write, in the
// program's own file formats, named by date and time, site, model and kind
// (BackupName). Saving a backup writes all its files or none, readable by
// their owner only (they hold gate codes), and then deletes what the
// retention rule lets go (BackupRetention). Files whose names are not
// backup names are never touched.
//
// A save never replaces a file: each file of a backup appears whole under a
// name that was free (NewFile), so two programs saving in the same second
// (the window and a nightly corvalen-cli, or two corvalen-cli runs against
// two panels of one model) get "...-2" for the second, never one file for
// both. Inside a site the store lives in the site's folder and its names
// carry the site (setSite()).
//
// The time comes from a clock given at construction (the computer's clock
// by default), so that names and the retention rule can be tried on any
// date.
class BackupStore
{
public:
    using Clock = std::function<QDateTime()>;

    explicit BackupStore(const QString &folder, Clock now = {});

    // Where the program keeps its backups: "corvalen-pro/backups" in the
    // user's data folder, that is $XDG_DATA_HOME (by default ~/.local/share)
    // on Linux, the local application data folder on Windows.
    static QString defaultFolder();

    QString folder() const { return folder_; }
    // The site whose backups are saved from now on (its name as the book
    // has it); empty: outside any site.
    void setSite(const QString &siteName);
    QString siteName() const { return siteName_; }
    QString siteToken() const { return siteToken_; }
    QDateTime now() const { return now_(); }

    // One file of a backup, as the domains write what they keep.
    using File = PanelContent::File;
    struct Saved
    {
        std::optional<BackupEntry> entry; // set when every file was written
        QString error;                    // why not, otherwise
    };
    // Whether save() runs the retention rule at once, or leaves it to a later
    // prune() (a restore keeps a backup first and prunes once it is over).
    enum class Retention { Now, Later };
    // Writes the files of one backup under one fresh stem; the first file
    // stands for the backup. On any failure the files already written are
    // removed again and the error says which file or folder failed.
    Saved save(BackupKind kind, const QString &model, const QList<File> &files, int count,
               Retention retention = Retention::Now);

    // Every backup in the folder, newest first, with what each holds.
    QList<BackupEntry> list() const { return scan(true); }

    // Deletes the backups the retention rule lets go, except held ones;
    // their number.
    int prune();

    // A held backup is never deleted by prune(), whatever its age: one that
    // is being restored or opened.
    void hold(const BackupEntry &entry);
    void release(const BackupEntry &entry);

private:
    QList<BackupEntry> scan(bool withCounts) const;
    enum class Claim { Saved, Taken, Failed };
    Claim writeNew(const BackupName &name, const QList<File> &files, QStringList *written, QString *error) const;

    QString folder_;
    QString siteName_;
    QString siteToken_;
    Clock now_;
    QStringList held_; // stems, once for every hold
};
