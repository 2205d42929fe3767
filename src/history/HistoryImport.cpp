#include "history/HistoryImport.h"

#include "backup/BackupContent.h"
#include "backup/BackupStore.h"
#include "history/ContentBlobs.h"
#include "history/HistoryContent.h"
#include "history/HistoryStore.h"

#include <QFileInfo>
#include <QSysInfo>

namespace HistoryImport {

namespace {

// The file of a backup that holds its content in the history's form.
QString contentFile(const BackupEntry &entry)
{
    return entry.kind() == BackupKind::Parameters ? BackupContent::fileWithSuffix(entry, QStringLiteral("records"))
                                                  : entry.path;
}

} // namespace

Result importBackups(HistoryStore &store, const QString &backupsFolder)
{
    Result result;
    const QList<BackupEntry> backups = BackupStore(backupsFolder).list();
    // Oldest first, so that ids grow with time.
    for (auto it = backups.crbegin(); it != backups.crend(); ++it) {
        const BackupEntry &entry = *it;
        const QString file = contentFile(entry);
        QByteArray bytes;
        QString why;
        if (file.isEmpty())
            why = QStringLiteral("it has no parameter records beside it.");
        std::optional<HistoryContent::Parsed> parsed;
        if (!file.isEmpty() && BackupContent::load(file, &bytes, &why))
            parsed = HistoryContent::parse(entry.kind(), bytes, &why);
        if (!parsed) {
            result.problems << QStringLiteral("%1: %2").arg(entry.fileName(), why);
            continue;
        }
        HistoryRecord r;
        r.kind = entry.kind();
        r.action = HistoryAction::Backup;
        r.content = parsed->bytes();
        r.model = entry.name.model;
        r.via = HistoryVia::kImported;
        const QString owner = QFileInfo(entry.path).owner();
        r.who = (owner.isEmpty() ? QStringLiteral("unknown") : owner) + QLatin1Char('@') + QSysInfo::machineHostName();
        r.time = entry.name.when.toUTC();
        r.note = entry.fileName();
        r.source = QStringLiteral("backup:%1:%2")
                       .arg(entry.name.stem(), QString::fromLatin1(ContentBlobs::hashOf(r.content).toHex().left(16)));
        const HistoryStore::Added added = store.add(r);
        switch (added.outcome) {
        case HistoryStore::Added::Outcome::Added: ++result.added; break;
        case HistoryStore::Added::Outcome::AlreadyThere: ++result.alreadyThere; break;
        case HistoryStore::Added::Outcome::Sighting: ++result.alreadyThere; break;
        case HistoryStore::Added::Outcome::Failed:
            result.problems << QStringLiteral("%1: %2").arg(entry.fileName(), added.error);
            break;
        }
    }
    return result;
}

} // namespace HistoryImport
