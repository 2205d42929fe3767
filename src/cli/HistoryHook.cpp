#include "cli/HistoryHook.h"

#include "rfid/StoreOfTable.h"

#include "archive/ArchiveDates.h"
#include "archive/EventArchive.h"
#include "backup/BackupName.h"
#include "cli/ControlRecords.h"
#include "cli/CliPrompt.h"
#include "cli/CliSession.h"
#include "directory/DirectoryTransfer.h"
#include "directory/EntryText.h"
#include "directory/PhoneFields.h"
#include "events/EventLog.h"
#include "history/HistoryContent.h"
#include "history/HistoryStore.h"
#include "link/ReplyMemo.h"
#include "rfid/StoreCodec.h"

#include <QDateTime>

namespace HistoryHook {

namespace {

// The encodings below clamp and check values the transfer has already
// clamped and checked: whatever they would say was said by the transfer.
class SilentPrompt : public UserPrompt
{
public:
    void message(const QString &, Kind) override {}
    bool ask(const QString &, Kind) override { return true; }
};

// A room as the rewrite sends it: its leading digits, "0" when none.
QByteArray roomAsSent(const QByteArray &room)
{
    if (room.isEmpty())
        return room;
    SilentPrompt silent;
    return NumericOrZero(room, silent);
}

void warn(CliSession &session, const QString &what, const QString &why)
{
    session.prompt().warning(QStringLiteral("%1 was not kept in %2: %3").arg(what, session.recordsFolder(), why));
}

} // namespace

bool record(CliSession &session, BackupKind kind, HistoryAction action, const QByteArray &content,
            const std::optional<HistoryWriteResult> &result)
{
    HistoryStore history(session.recordsFolder());
    QString why;
    if (!history.open(&why)) {
        warn(session, QStringLiteral("The version"), why);
        return false;
    }
    HistoryRecord r;
    r.kind = kind;
    r.action = action;
    r.content = content;
    r.model = BackupName::modelToken(session.link().conn().DirectoryEnd);
    r.via = HistoryVia::kCli;
    r.result = result;
    const HistoryStore::Added added = history.add(r);
    if (!added.ok())
        warn(session, QStringLiteral("The version"), added.error);
    return added.outcome == HistoryStore::Added::Outcome::Added;
}

bool directoryRead(CliSession &session)
{
    const QList<PanelEntry> entries = DirectoryTransfer::replyEntries(session.link().RxMemo().text(), true);
    return record(session, BackupKind::Directory, HistoryAction::Read, HistoryContent::ofDirectory(entries));
}

void directoryWrite(CliSession &session, int attempted, const HistoryWriteResult &result)
{
    const Table &table = session.directory().PhoneTable;
    QList<PanelEntry> sent;
    for (int row = 0; row < qMin(attempted, table.count()); ++row) {
        const auto field = [&](const char *name) { return table.value(row, QByteArray(name)); };
        const QByteArray text = PanelEntryText(roomAsSent(field(PhoneFields::RoomNumber)), field(PhoneFields::Code1),
                                               field(PhoneFields::Code2), field(PhoneFields::Spare),
                                               field(PhoneFields::PHnumber), field(PhoneFields::Name));
        sent << HistoryContent::entryAsSent(field(PhoneFields::Addr), text);
    }
    record(session, BackupKind::Directory, HistoryAction::Write, HistoryContent::ofDirectory(sent), result);
}

bool parametersRead(CliSession &session)
{
    const ParameterRecordSet set = ControlRecords::encode(session.controls());
    return record(session, BackupKind::Parameters, HistoryAction::Read, HistoryContent::ofParameters(set));
}

void parametersWrite(CliSession &session, int sent, const HistoryWriteResult &result)
{
    const ParameterRecordSet set = ControlRecords::encode(session.controls(), ControlRecords::kWriteOrder.mid(0, qBound(0, sent, 10)));
    record(session, BackupKind::Parameters, HistoryAction::Write, HistoryContent::ofParameters(set), result);
}

bool tagsRead(CliSession &session)
{
    QString why;
    const std::optional<StoreImage> image = StoreImage::fromReply(session.link().RxMemo().text(), &why);
    if (!image) {
        warn(session, QStringLiteral("The RFID store read"), why);
        return false;
    }
    return record(session, BackupKind::Tags, HistoryAction::Read, HistoryContent::ofTags(*image));
}

void tagsWrite(CliSession &session, const HistoryWriteResult &result)
{
    const Table &table = session.directory().PhoneTable;
    const StoreImage image = StoreOfTable::of(table);
    record(session, BackupKind::Tags, HistoryAction::Write, HistoryContent::ofTags(image), result);
}

void backup(CliSession &session, BackupKind kind, const QByteArray &content)
{
    record(session, kind, HistoryAction::Backup, content);
}

int events(CliSession &session, const EventLog &log)
{
    QByteArray reply = session.link().RxMemo().text();
    // The clock read's "OK" may have come late, before the event reply.
    while (reply.startsWith("OK\r\n"))
        reply.remove(0, 4);
    const QList<QByteArray> lines = ReplyMemo::splitLines(reply);
    EventArchive::Download download;
    for (qsizetype i = 1; i + 1 < lines.size(); ++i)
        download.lines << lines.at(i);
    download.downloadedAt = QDateTime::currentDateTime();
    download.panelClock = ArchiveDates::panelClock(log.clock.Stime(), log.clock.Sdate(), download.downloadedAt);
    download.via = HistoryVia::kCli;

    EventArchive archive(session.recordsFolder());
    QString why;
    if (!archive.open(&why)) {
        warn(session, QStringLiteral("The event download"), why);
        return -1;
    }
    const EventArchive::Added added = archive.addDownload(download);
    if (!added.ok) {
        warn(session, QStringLiteral("The event download"), added.error);
        return -1;
    }
    session.prompt().message(QStringLiteral("%1 of the %2 events were new to the event archive.")
                                 .arg(added.added)
                                 .arg(added.received));
    return added.added;
}

} // namespace HistoryHook
