#include "cli/DiffJob.h"

#include "directory/DirectoryBackupContent.h"
#include "parameters/ParameterBackupContent.h"
#include "rfid/TagStoreContent.h"
#include "cli/CliConsole.h"
#include "cli/CliOptions.h"
#include "cli/CliProgress.h"
#include "cli/CliPrompt.h"
#include "cli/CliSession.h"
#include "cli/ControlRecords.h"
#include "cli/HistoryHook.h"
#include "history/HistoryDiff.h"
#include "history/HistoryStore.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>

bool DiffJob::isPanel(const QString &side)
{
    return side == QLatin1String("panel");
}

bool DiffJob::needsPanel() const
{
    return isPanel(options_.operands.value(0)) || isPanel(options_.operands.value(1));
}

std::optional<HistoryContent::Parsed> DiffJob::readSide(const QString &side)
{
    QString why;
    std::optional<HistoryContent::Parsed> parsed;
    if (QFileInfo::exists(side)) {
        parsed = HistoryContent::fromFile(side, &why);
    } else {
        bool number = false;
        side.toLongLong(&number);
        const QString folder = session_.recordsFolder();
        if (!number) {
            why = QStringLiteral("%1 is neither a version of the history nor a file.").arg(side);
        } else if (!QFileInfo::exists(QDir(folder).filePath(HistoryStore::kFileName))) {
            why = QStringLiteral("There is no history in %1.").arg(QDir::toNativeSeparators(folder));
        } else {
            HistoryStore history(folder);
            if (history.open(&why))
                parsed = HistoryDiff::side(history, side, &why);
        }
    }
    if (!parsed)
        session_.prompt().error(why);
    return parsed;
}

std::optional<HistoryContent::Parsed> DiffJob::readSysSide(const QString &side,
                                                           const std::optional<HistoryContent::Parsed> &other)
{
    if (other && other->kind != BackupKind::Parameters) {
        session_.prompt().error(QStringLiteral("%1 holds parameters; the other side does not.").arg(side));
        return std::nullopt;
    }
    const std::optional<ParameterRecordSet> records =
        ControlRecords::fromSysFile(side, other ? other->records : ParameterRecordSet(), session_.prompt());
    if (!records)
        return std::nullopt;
    HistoryContent::Parsed parsed;
    parsed.kind = BackupKind::Parameters;
    parsed.records = *records;
    return parsed;
}

CliExit DiffJob::prepare(PinSource &)
{
    const QStringList &operands = options_.operands;
    if (isPanel(operands.at(0)) && isPanel(operands.at(1))) {
        session_.prompt().error(QStringLiteral("diff compares the panel with a version or a file, not with itself."));
        return CliExit::Usage;
    }
    // Versions and files other than ".sys" first: a ".sys" file holds only
    // part of the parameters, and the rest is taken from the other side.
    for (int i = 0; i < 2; ++i) {
        if (isPanel(operands.at(i)) || ControlRecords::isSysFile(operands.at(i)))
            continue;
        sides_[i] = readSide(operands.at(i));
        if (!sides_[i])
            return CliExit::Usage;
    }
    for (int i = 0; i < 2; ++i) {
        if (!ControlRecords::isSysFile(operands.at(i)))
            continue;
        sides_[i] = readSysSide(operands.at(i), sides_[1 - i]);
        if (!sides_[i])
            return CliExit::Usage;
    }
    return CliExit::Done;
}

std::optional<HistoryContent::Parsed> DiffJob::readPanel(BackupKind kind)
{
    CommandExchange &link = session_.link();
    session_.progress().stage(QStringLiteral("Reading the %1").arg(HistoryKinds::inText(kind)));
    QString why;
    HistoryContent::Parsed now;
    now.kind = kind;
    bool read = false;
    switch (kind) {
    case BackupKind::Directory:
        if (const std::optional<DirectoryListing> listing = DirectoryBackupContent::readPanel(link, &why)) {
            now.entries = listing->entries;
            read = true;
        }
        break;
    case BackupKind::Parameters:
        if (const std::optional<ParameterRecordSet> records = ParameterBackupContent::readPanel(link, &why)) {
            now.records = *records;
            read = true;
        }
        break;
    case BackupKind::Tags:
        if (const std::optional<StoreImage> image = TagStoreContent::readPanel(link, &why)) {
            now.tags = *image;
            read = true;
        }
        break;
    }
    if (!read) {
        session_.prompt().error(QStringLiteral("The Corvalen could not be read: %1").arg(why));
        return std::nullopt;
    }
    HistoryHook::record(session_, kind, HistoryAction::Read, now.bytes());
    return now;
}

CliExit DiffJob::run()
{
    const QStringList &operands = options_.operands;
    for (int i = 0; i < 2; ++i) {
        if (!isPanel(operands.at(i)))
            continue;
        sides_[i] = readPanel(sides_[1 - i]->kind);
        if (!sides_[i])
            return CliExit::LinkFailed;
        // What is compared with a ".sys" file is what the file holds over
        // what the panel holds.
        if (ControlRecords::isSysFile(operands.at(1 - i))) {
            sides_[1 - i] = readSysSide(operands.at(1 - i), sides_[i]);
            if (!sides_[1 - i])
                return CliExit::Usage;
        }
    }
    QString why;
    const std::optional<HistoryDiff> diff = HistoryDiff::compareSides(*sides_[0], *sides_[1], &why);
    if (!diff) {
        session_.prompt().error(why);
        return CliExit::Usage;
    }
    if (options_.json)
        console_.out(QJsonDocument(diff->toJson()).toJson(QJsonDocument::Indented));
    else
        console_.out(diff->text().toLocal8Bit());
    return diff->isEmpty() ? CliExit::Done : CliExit::Refused;
}
