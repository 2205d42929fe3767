#include "cli/RestoreJob.h"

#include "cli/CliWorkplace.h"
#include "directory/DirectoryBackupContent.h"
#include "parameters/ParameterBackupContent.h"
#include "rfid/TagStoreContent.h"

#include "backup/BackupContent.h"
#include "backup/BackupRestore.h"
#include "backup/BackupStore.h"
#include "backup/PanelBackups.h"
#include "cli/CliOptions.h"
#include "cli/CliProgress.h"
#include "cli/CliPrompt.h"
#include "cli/CliSession.h"
#include "cli/CliSummary.h"
#include "cli/HistoryHook.h"
#include "history/HistoryStore.h"
#include "history/VersionFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {
const QString kNothingWritten = QStringLiteral("Nothing was written to the Corvalen.");
} // namespace

CliExit RestoreJob::prepare(PinSource &)
{
    CliPrompt &prompt = session_.prompt();
    bool number = false;
    const qint64 id = options_.file.toLongLong(&number);
    if (!number || id <= 0) {
        prompt.error(QStringLiteral("restore takes the id of a version (see the history command), not %1.")
                         .arg(options_.file));
        return CliExit::Usage;
    }
    const QString folder = session_.recordsFolder();
    QString why = QStringLiteral("There is no history in %1.").arg(QDir::toNativeSeparators(folder));
    if (QFileInfo::exists(QDir(folder).filePath(HistoryStore::kFileName))) {
        HistoryStore history(folder);
        if (history.open(&why)) {
            version_ = history.version(id);
            why = QStringLiteral("There is no version %1 in the history of %2.")
                      .arg(id)
                      .arg(QDir::toNativeSeparators(folder));
        }
    }
    if (!version_) {
        prompt.error(why + QStringLiteral("\r\n") + kNothingWritten);
        return CliExit::Refused;
    }
    summary_.counts.insert(QStringLiteral("version"), double(id));
    return CliExit::Done;
}

void RestoreJob::recordBackup(const BackupEntry &entry)
{
    const QString file = entry.kind() == BackupKind::Parameters
                             ? BackupContent::fileWithSuffix(entry, QStringLiteral("records"))
                             : entry.path;
    QByteArray bytes;
    QString why;
    std::optional<HistoryContent::Parsed> parsed;
    if (!file.isEmpty() && BackupContent::load(file, &bytes, &why))
        parsed = HistoryContent::parse(entry.kind(), bytes, &why);
    if (parsed)
        HistoryHook::backup(session_, entry.kind(), parsed->bytes());
    else
        session_.prompt().warning(QStringLiteral("The backup %1 was not kept in the history: %2")
                                      .arg(entry.fileName(), why));
}

CliExit RestoreJob::run()
{
    CliPrompt &prompt = session_.prompt();
    HistoryStore history(session_.recordsFolder());
    QString why;
    if (!history.open(&why)) {
        prompt.error(why + QStringLiteral("\r\n") + kNothingWritten);
        return CliExit::Refused;
    }
    CommandExchange &link = session_.link();
    HistoryContent::Parsed content;
    const VersionFiles::Fit fit = VersionFiles::check(history, *version_, link.conn().DirectoryEnd, &content);
    if (!fit.fits) {
        prompt.error(fit.problem + QStringLiteral("\r\n") + kNothingWritten);
        return CliExit::Refused;
    }
    if (!fit.warning.isEmpty() && !prompt.ask(fit.warning, UserPrompt::Kind::Warning))
        return CliExit::Refused;
    QTemporaryDir scratch;
    const std::optional<BackupEntry> entry =
        scratch.isValid() ? VersionFiles::write(history, *version_, scratch.path(), &why) : std::nullopt;
    if (!entry) {
        prompt.error((scratch.isValid() ? why : scratch.errorString()) + QStringLiteral("\r\n") + kNothingWritten);
        return CliExit::Refused;
    }

    // The window's Restore: what the panel holds is kept, and the question
    // shows what the restore changes.
    BackupStore store(workplace_ ? workplace_->backupFolder() : BackupStore::defaultFolder());
    if (workplace_)
        store.setSite(workplace_->siteName());
    PanelBackups backups{store};
    UserPrompt::Question question;
    question.text = QStringLiteral("This will replace the %1 stored in the Corvalen\r\nwith version %2 of %3, Continue?")
                        .arg(BackupKinds::caption(version_->kind).toLower())
                        .arg(version_->id)
                        .arg(version_->time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    session_.progress().stage(QStringLiteral("Keeping what the Corvalen holds"));
    PanelBackups::Gate gate;
    switch (version_->kind) {
    case BackupKind::Directory:
        gate = backups.beforeWrite(session_.ctx(), DirectoryBackupContent(content.entries), question);
        break;
    case BackupKind::Parameters:
        gate = backups.beforeWrite(session_.ctx(), ParameterBackupContent(content.records), question);
        break;
    case BackupKind::Tags:
        gate = backups.beforeWrite(session_.ctx(), TagStoreContent(content.tags.entries()), question);
        break;
    }
    if (gate.backup) {
        summary_.backup = QDir::toNativeSeparators(gate.backup->path);
        recordBackup(*gate.backup);
    }
    if (!gate.proceed || stopped()) {
        prompt.error(kNothingWritten);
        return CliExit::Refused;
    }

    session_.progress().stage(QStringLiteral("Writing version %1").arg(version_->id));
    const BackupRestore::Result result = BackupRestore::restore(link, *entry);
    summary_.counts.insert(QStringLiteral("written"), result.written);
    summary_.counts.insert(QStringLiteral("refused"), result.failed);
    if (result.written + result.failed > 0 || result.error.isEmpty()) {
        HistoryWriteResult written;
        written.written = result.written;
        written.total = content.count();
        written.refused = result.failed;
        written.cutShort = !result.error.isEmpty();
        HistoryHook::record(session_, version_->kind, HistoryAction::Write, content.bytes(), written);
    }
    if (!result.error.isEmpty()) {
        prompt.error(result.error);
        return CliExit::LinkFailed;
    }
    if (result.failed != 0) {
        prompt.error(QStringLiteral("There was %1 error(s)").arg(result.failed));
        return CliExit::Refused;
    }
    prompt.message(QStringLiteral("Restored version %1: %2.").arg(version_->id).arg(version_->entriesText()));
    return CliExit::Done;
}
