#include "app/PanelRecorder.h"

#include "archive/ArchiveDates.h"
#include "archive/EventArchive.h"
#include "backup/BackupName.h"
#include "history/HistoryStore.h"
#include "link/CommandExchange.h"
#include "link/UserPrompt.h"

#include <QDir>

namespace {

BackupKind backupKindOf(PanelContent::Kind kind)
{
    switch (kind) {
    case PanelContent::Kind::Directory: return BackupKind::Directory;
    case PanelContent::Kind::Parameters: return BackupKind::Parameters;
    case PanelContent::Kind::Tags: return BackupKind::Tags;
    }
    return BackupKind::Directory;
}

// The file of a domain's kept files that the history holds: the phone list,
// the parameter records (not the ".sys" file, which lacks some of record
// 0001) or the RFID store.
const PanelContent::File *historyFile(PanelContent::Kind kind, const QList<PanelContent::File> &files)
{
    QString suffix;
    switch (kind) {
    case PanelContent::Kind::Directory: suffix = QStringLiteral("csv"); break;
    case PanelContent::Kind::Parameters: suffix = QStringLiteral("records"); break;
    case PanelContent::Kind::Tags: suffix = QStringLiteral("rfid"); break;
    }
    for (const PanelContent::File &file : files)
        if (file.suffix == suffix)
            return &file;
    return nullptr;
}

} // namespace

PanelRecorder::PanelRecorder(CommandExchange &link, UserPrompt &prompt)
    : link_(link)
    , prompt_(prompt)
{
}

QString PanelRecorder::folder()
{
    return QDir::currentPath();
}

void PanelRecorder::read(PanelContent::Kind kind, const QList<PanelContent::File> &files)
{
    add(kind, HistoryAction::Read, files, nullptr);
}

void PanelRecorder::backedUp(PanelContent::Kind kind, const QList<PanelContent::File> &files)
{
    add(kind, HistoryAction::Backup, files, nullptr);
}

void PanelRecorder::written(PanelContent::Kind kind, const QList<PanelContent::File> &files,
                            const WriteOutcome &outcome)
{
    add(kind, HistoryAction::Write, files, &outcome);
}

void PanelRecorder::add(PanelContent::Kind kind, HistoryAction action, const QList<PanelContent::File> &files,
                        const WriteOutcome *outcome)
{
    const PanelContent::File *file = historyFile(kind, files);
    if (!file) {
        warn(QStringLiteral("The version"), QStringLiteral("the transfer gave nothing to keep."));
        return;
    }
    HistoryStore history(folder());
    QString why;
    if (!history.open(&why)) {
        warn(QStringLiteral("The version"), why);
        return;
    }
    HistoryRecord r;
    r.kind = backupKindOf(kind);
    r.action = action;
    r.content = file->bytes;
    r.model = BackupName::modelToken(link_.conn().DirectoryEnd);
    r.via = HistoryVia::kWindow;
    if (outcome) {
        HistoryWriteResult result;
        result.written = outcome->written;
        result.total = outcome->total;
        result.refused = outcome->refused;
        result.cutShort = outcome->cutShort;
        result.refusedItems = outcome->refusedItems;
        r.result = result;
    }
    const HistoryStore::Added added = history.add(r);
    if (!added.ok()) {
        warn(QStringLiteral("The version"), added.error);
        return;
    }
    if (versionRecorded_)
        versionRecorded_();
}

void PanelRecorder::eventsDownloaded(const QList<QByteArray> &lines, const QString &panelTime,
                                     const QString &panelDate, const QDateTime &downloadedAt)
{
    EventArchive::Download download;
    download.lines = lines;
    download.downloadedAt = downloadedAt;
    download.panelClock = ArchiveDates::panelClock(panelTime, panelDate, downloadedAt);
    download.via = HistoryVia::kWindow;
    EventArchive archive(folder());
    QString why;
    if (!archive.open(&why)) {
        warn(QStringLiteral("The event download"), why);
        return;
    }
    const EventArchive::Added added = archive.addDownload(download);
    if (!added.ok) {
        warn(QStringLiteral("The event download"), added.error);
        return;
    }
    if (eventsRecorded_)
        eventsRecorded_();
}

void PanelRecorder::warn(const QString &what, const QString &why)
{
    prompt_.message(QStringLiteral("%1 was not kept in %2:\r\n%3").arg(what, QDir::toNativeSeparators(folder()), why),
                    UserPrompt::Kind::Warning);
}
