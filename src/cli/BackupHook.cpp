#include "cli/BackupHook.h"

#include "directory/DirectoryBackupContent.h"
#include "parameters/ParameterBackupContent.h"
#include "rfid/TagStoreContent.h"
#include "backup/BackupName.h"
#include "backup/BackupStore.h"
#include "cli/CliSession.h"
#include "cli/HistoryHook.h"
#include "history/HistoryContent.h"

#include <QDir>

namespace BackupHook {

namespace {

// What the panel holds of the data the put replaces, as backup files and
// in the history's form; empty with the reason when the panel could not be
// read whole.
QList<BackupStore::File> readPanel(CommandExchange &link, CliCommand::Job job, int *count, BackupKind *kind,
                                   QByteArray *content, QString *why)
{
    switch (job) {
    case CliCommand::Job::DirectoryPut:
        if (const std::optional<DirectoryListing> listing = DirectoryBackupContent::readPanel(link, why)) {
            // Every slot that holds anything, a resident or not.
            *count = int(listing->occupied.size());
            *kind = BackupKind::Directory;
            *content = HistoryContent::ofDirectory(listing->occupied);
            return DirectoryBackupContent::files(listing->occupied);
        }
        break;
    case CliCommand::Job::ParametersPut:
        if (const std::optional<ParameterRecordSet> records = ParameterBackupContent::readPanel(link, why)) {
            *count = ParameterRecordSet::kLast;
            *kind = BackupKind::Parameters;
            *content = HistoryContent::ofParameters(*records);
            return ParameterBackupContent::files(*records);
        }
        break;
    case CliCommand::Job::RfidPut:
        if (const std::optional<StoreImage> image = TagStoreContent::readPanel(link, why)) {
            *count = image->codeCount();
            *kind = BackupKind::Tags;
            *content = HistoryContent::ofTags(*image);
            return TagStoreContent::files(*image);
        }
        break;
    default:
        break;
    }
    return {};
}

} // namespace

Result beforePut(CliSession &session, CliCommand::Job job, const QString &folder, const QString &siteName)
{
    if (job != CliCommand::Job::DirectoryPut && job != CliCommand::Job::ParametersPut
        && job != CliCommand::Job::RfidPut)
        return {};
    CommandExchange &link = session.ctx().link;
    int count = 0;
    BackupKind kind = BackupKind::Directory;
    QString why;
    QByteArray content;
    const QList<BackupStore::File> files = readPanel(link, job, &count, &kind, &content, &why);
    Result result;
    if (files.isEmpty()) {
        result.ok = false;
        result.error = QStringLiteral("No backup could be taken:\r\n%1").arg(why);
        return result;
    }
    BackupStore store(folder);
    store.setSite(siteName);
    const BackupStore::Saved saved =
        store.save(kind, BackupName::modelToken(link.conn().DirectoryEnd), files, count);
    if (!saved.entry) {
        result.ok = false;
        result.error = QStringLiteral("No backup could be taken:\r\n%1").arg(saved.error);
        return result;
    }
    result.path = QDir::toNativeSeparators(saved.entry->path);
    HistoryHook::backup(session, kind, content);
    return result;
}

} // namespace BackupHook
