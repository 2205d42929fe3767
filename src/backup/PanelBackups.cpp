#include "backup/PanelBackups.h"

#include "backup/BackupContent.h"
#include "backup/BackupMatch.h"
#include "backup/BackupName.h"
#include "backup/BackupRestore.h"
#include "directory/DirectoryBackupContent.h"
#include "directory/DirectoryContext.h"
#include "link/ContentRecorder.h"
#include "parameters/ParameterBackupContent.h"
#include "rfid/TagStoreContent.h"

#include <QDir>

namespace {

// The transfer window and the hourglass while the panel is read.
class ReadFeedback
{
public:
    explicit ReadFeedback(TransferFeedback &feedback) : feedback_(feedback)
    {
        feedback_.showTransferWindow();
        feedback_.setBusyCursor(true);
    }
    ~ReadFeedback()
    {
        feedback_.hideTransferWindow();
        feedback_.setBusyCursor(false);
    }

private:
    TransferFeedback &feedback_;
};

// What mayErase() hands the write: the backup taken before it.
struct KeptBackup : ErasePermission::Kept
{
    explicit KeptBackup(const BackupEntry &backup) : entry(backup) {}
    BackupEntry entry;
};

BackupKind kindOf(PanelContent::Kind kind)
{
    switch (kind) {
    case PanelContent::Kind::Directory: return BackupKind::Directory;
    case PanelContent::Kind::Parameters: return BackupKind::Parameters;
    case PanelContent::Kind::Tags: return BackupKind::Tags;
    }
    return BackupKind::Directory;
}

PanelContent::Kind contentKindOf(BackupKind kind)
{
    switch (kind) {
    case BackupKind::Directory: return PanelContent::Kind::Directory;
    case BackupKind::Parameters: return PanelContent::Kind::Parameters;
    case BackupKind::Tags: return PanelContent::Kind::Tags;
    }
    return PanelContent::Kind::Directory;
}

} // namespace

PanelBackups::RestoreHold::RestoreHold(PanelBackups &backups, const BackupEntry &entry)
    : backups_(backups)
    , entry_(entry)
{
    backups_.store_.hold(entry_);
    ++backups_.restoring_;
}

PanelBackups::RestoreHold::~RestoreHold()
{
    if (--backups_.restoring_ == 0)
        backups_.store_.prune();
    backups_.store_.release(entry_);
}

PanelBackups::PanelBackups(const BackupStore &store, QObject *parent)
    : QObject(parent)
    , store_(store)
{
}

PanelBackups::Gate PanelBackups::beforeWrite(TransferContext &ctx, const PanelContent &written,
                                             UserPrompt::Question question)
{
    QString why;
    std::optional<PanelContent::Held> held;
    {
        ReadFeedback busy(ctx.feedback);
        held = written.readHeld(ctx.link, &why);
    }
    if (held)
        question.details = held->changes;
    return keep(ctx, kindOf(written.kind()), written.what(), why, held ? held->files : QList<BackupStore::File>(),
                held ? held->count : 0, question);
}

ErasePermission::Answer PanelBackups::mayErase(TransferContext &ctx, const PanelContent &written,
                                               UserPrompt::Question question)
{
    const Gate gate = beforeWrite(ctx, written, question);
    Answer answer;
    answer.proceed = gate.proceed;
    if (gate.backup)
        answer.kept = std::make_shared<KeptBackup>(*gate.backup);
    return answer;
}

std::optional<BackupEntry> PanelBackups::backupOf(const KeptHandle &kept)
{
    if (const auto *backup = dynamic_cast<const KeptBackup *>(kept.get()))
        return backup->entry;
    return std::nullopt;
}

bool PanelBackups::offerRestore(TransferContext &ctx, const KeptHandle &kept, const QString &what, bool lineLost)
{
    return offerRestore(ctx, backupOf(kept), what, lineLost);
}

PanelBackups::Gate PanelBackups::keep(TransferContext &ctx, BackupKind kind, const QString &what,
                                      const QString &readError, const QList<BackupStore::File> &files, int count,
                                      UserPrompt::Question question)
{
    Gate gate;
    if (files.isEmpty() && !(ctx.link.conn().LoggedOn && ctx.link.port().isOpen())) {
        // The line went down during the read: there is no write to go on with.
        ctx.prompt.message(QStringLiteral("The connection to the Corvalen was lost while its %1 was read "
                                          "for a backup.\r\nNothing was written to the Corvalen.")
                               .arg(what),
                           UserPrompt::Kind::Error);
        return gate;
    }
    if (files.isEmpty()) {
        emit backupKept(false, readError);
        gate.proceed = writeWithoutBackup(ctx.prompt, what, readError) && ctx.prompt.ask(question.text, question.kind);
        return gate;
    }
    const BackupStore::Saved saved =
        store_.save(kind, BackupName::modelToken(ctx.link.conn().DirectoryEnd), files, count,
                    restoring_ > 0 ? BackupStore::Retention::Later : BackupStore::Retention::Now);
    if (!saved.entry) {
        emit backupKept(false, saved.error);
        gate.proceed = writeWithoutBackup(ctx.prompt, what, saved.error) && ctx.prompt.askQuestion(question);
        return gate;
    }
    gate.backup = saved.entry;
    emit backupKept(true, saved.entry->path);
    if (ctx.recorder)
        ctx.recorder->backedUp(contentKindOf(kind), files);
    gate.proceed = ctx.prompt.askQuestion(question);
    return gate;
}

bool PanelBackups::writeWithoutBackup(UserPrompt &prompt, const QString &what, const QString &why)
{
    prompt.message(QStringLiteral("No backup of the %1 could be taken:\r\n%2\r\nNothing was written to the Corvalen.")
                       .arg(what, why),
                   UserPrompt::Kind::Error);
    UserPrompt::Question question;
    question.text = QStringLiteral("Write the %1 to the Corvalen without a backup?\r\n"
                                   "What the Corvalen holds now cannot be put back afterwards.")
                        .arg(what);
    question.kind = UserPrompt::Kind::Error;
    question.defaultNo = true;
    return prompt.askQuestion(question);
}

bool PanelBackups::offerRestore(TransferContext &ctx, const std::optional<BackupEntry> &entry, const QString &what,
                                bool lineLost)
{
    if (!entry || entry->path.isEmpty())
        return false;
    UserPrompt &prompt = ctx.prompt;
    if (lineLost || !ctx.link.conn().LoggedOn || !ctx.link.port().isOpen()) {
        prompt.message(QStringLiteral("The %1 as the Corvalen held it before this write is kept in the backup\r\n"
                                      "%2\r\nOnce the Corvalen answers again, log on and restore it with "
                                      "File, Backups...")
                           .arg(what, entry->fileName()));
        return false;
    }
    UserPrompt::Question question;
    question.text = QStringLiteral("The %1 as the Corvalen held it before this write is kept in the backup\r\n"
                                   "%2\r\nWrite it back to the Corvalen now?")
                        .arg(what, entry->fileName());
    question.details = QDir::toNativeSeparators(entry->path);
    question.kind = UserPrompt::Kind::Confirmation;
    if (!prompt.askQuestion(question))
        return false;
    emit restoreRequested(*entry);
    return true;
}

bool PanelBackups::restoreWithBackup(DirectoryContext &ctx, const BackupEntry &entry)
{
    if (!ctx.link.conn().LoggedOn) {
        ctx.prompt.message(QStringLiteral("Log on to the Corvalen first."), UserPrompt::Kind::Error);
        return false;
    }
    if (!BackupMatch::confirm(entry.name, {BackupName::modelToken(ctx.link.conn().DirectoryEnd), store_.siteName()},
                              ctx.prompt))
        return false;
    ExchangeGuard::Scope scope(ctx.guard);
    if (!scope)
        return false;
    // The backup being restored stays, whatever the retention rule says of
    // it once the backup taken before the restore is one more of its kind;
    // the rule runs when the restore is over.
    RestoreHold hold(*this, entry);

    QByteArray bytes;
    QString why;
    UserPrompt::Question question;
    question.text = QStringLiteral("This will replace the %1 stored in the Corvalen\r\nwith the backup %2, Continue?")
                        .arg(BackupKinds::caption(entry.kind()).toLower(), entry.fileName());
    Gate gate;
    QList<PanelContent::File> restoring; // for the records
    int total = 0;
    switch (entry.kind()) {
    case BackupKind::Directory: {
        if (!BackupContent::load(entry.path, &bytes, &why))
            break;
        const QList<PanelEntry> entries = DirectoryBackupContent::entries(bytes);
        restoring = DirectoryBackupContent::files(entries);
        total = int(entries.size());
        gate = beforeWrite(ctx, DirectoryBackupContent(entries), question);
        break;
    }
    case BackupKind::Parameters: {
        const QString file = BackupContent::fileWithSuffix(entry, QStringLiteral("records"));
        if (file.isEmpty())
            why = QStringLiteral("The backup has no parameter records beside %1.").arg(entry.fileName());
        if (file.isEmpty() || !BackupContent::load(file, &bytes, &why))
            break;
        const std::optional<ParameterRecordSet> set = ParameterRecordSet::fromFile(bytes, &why);
        if (set) {
            restoring = ParameterBackupContent::files(*set);
            total = ParameterBackupContent::count(bytes);
            gate = beforeWrite(ctx, ParameterBackupContent(*set), question);
        }
        break;
    }
    case BackupKind::Tags: {
        if (!BackupContent::load(entry.path, &bytes, &why))
            break;
        const std::optional<StoreImage> image = StoreImage::fromFile(bytes, &why);
        if (image) {
            restoring = TagStoreContent::files(*image);
            total = image->codeCount();
            gate = beforeWrite(ctx, TagStoreContent(image->entries()), question);
        }
        break;
    }
    }
    if (!why.isEmpty()) {
        ctx.prompt.message(why, UserPrompt::Kind::Error);
        return false;
    }
    if (!gate.proceed)
        return false;

    // The directory is written from the backup, not from the table: the table
    // no longer stands for the panel's directory, as after Open in Page, and
    // single writes from it would land in slots that now hold others.
    if (entry.kind() == BackupKind::Directory) {
        ctx.link.conn().DirectorySynced = false;
        ctx.directory.setWriteEachChangeEnabled(false);
    }
    ctx.feedback.showTransferWindow();
    ctx.feedback.setBusyCursor(true);
    const BackupRestore::Result result = BackupRestore::restore(ctx.link, entry);
    ctx.feedback.hideTransferWindow();
    ctx.feedback.setBusyCursor(false);
    // A restore that could not start wrote nothing; any other is a write.
    if (ctx.recorder && (result.error.isEmpty() || result.written + result.failed > 0)) {
        ContentRecorder::WriteOutcome outcome;
        outcome.written = result.written;
        outcome.refused = result.failed;
        outcome.cutShort = !result.error.isEmpty();
        outcome.total = result.error.isEmpty() ? result.written + result.failed : qMax(total, result.written + result.failed);
        ctx.recorder->written(contentKindOf(entry.kind()), restoring, outcome);
    }
    if (!result.error.isEmpty())
        ctx.prompt.message(result.error, UserPrompt::Kind::Error);
    else if (result.failed != 0)
        ctx.prompt.message(QStringLiteral("There was %1 error(s)").arg(result.failed), UserPrompt::Kind::Error);
    else
        ctx.prompt.message(QStringLiteral("Restored %1 from %2.").arg(entry.countText(), entry.fileName()));
    return result.ok();
}
