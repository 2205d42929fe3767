#pragma once

#include "backup/BackupEntry.h"
#include "history/HistoryContent.h"
#include "history/HistoryVersion.h"

#include <QString>
#include <optional>

class HistoryStore;

// A version as the backups' files, so that "Open in Page" and "Restore" from
// the History dialog go the ways the Backups window's do (BackupOpen,
// PanelBackups::restoreWithBackup): a phone list with each resident's slot,
// a parameter file with its records beside it, or the RFID store file,
// named by the version's time, model and kind, readable by their owner
// only. And the check that a version fits the panel it is to go to.
//
// Wiring, in the main window (a restore):
//
//     QTemporaryDir scratch;
//     HistoryContent::Parsed content;
//     const VersionFiles::Fit fit = VersionFiles::check(version, content, link.conn().DirectoryEnd);
//     if (!fit.fits) { prompt.message(fit.problem, UserPrompt::Kind::Error); return; }
//     if (!fit.warning.isEmpty() && !prompt.ask(fit.warning)) return;
//     if (const auto entry = VersionFiles::write(history, version, scratch.path(), &why))
//         backups.restoreWithBackup(ctx, *entry);   // backup first, comparison, question
namespace VersionFiles {

// Writes the version's files into `folder` (a scratch folder: never the
// backups folder). None, with the reason, when the version cannot be read
// or the files cannot be written.
std::optional<BackupEntry> write(HistoryStore &store, const HistoryVersion &version, const QString &folder,
                                 QString *why);

struct Fit
{
    bool fits = true;
    QString problem; // why it must not go to this panel
    QString warning; // a question worth asking first (another model)
};

// Whether the version can go to a panel whose last directory slot is
// `directoryEnd`: every resident's slot must be a slot of that model (a
// slot beyond it would write into other records of the panel); a version
// read from another model fits when its slots do, with a warning. Reads
// the version's content into *content on the way (for the caller's write).
Fit check(HistoryStore &store, const HistoryVersion &version, qint32 directoryEnd, HistoryContent::Parsed *content);

// The same for content in hand.
Fit check(const HistoryVersion &version, const HistoryContent::Parsed &content, qint32 directoryEnd);

} // namespace VersionFiles
