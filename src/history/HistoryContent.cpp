#include "history/HistoryContent.h"

#include "directory/DirectoryBackupContent.h"
#include "table/TableFile.h"

#include <QDir>

namespace HistoryContent {

namespace {

QByteArray firstLine(const QByteArray &bytes)
{
    qsizetype end = 0;
    while (end < bytes.size() && bytes.at(end) != '\r' && bytes.at(end) != '\n')
        ++end;
    return bytes.left(end);
}

bool isPhoneListHeader(const QByteArray &line)
{
    bool name = false;
    bool room = false;
    for (const QByteArray &column : line.split(',')) {
        const QByteArray c = column.trimmed().toLower();
        name = name || c == "name";
        room = room || c == "roomnumber";
    }
    return name && room;
}

std::optional<Parsed> fail(QString *why, const QString &reason)
{
    if (why)
        *why = reason;
    return std::nullopt;
}

} // namespace

QByteArray ofDirectory(const QList<PanelEntry> &entries)
{
    return DirectoryBackupContent::files(entries).first().bytes;
}

QByteArray ofParameters(const ParameterRecordSet &records)
{
    return records.toFile();
}

QByteArray ofTags(const StoreImage &image)
{
    return image.toFile();
}

PanelEntry entryAsSent(const QByteArray &slot, const QByteArray &text)
{
    PanelEntry e = ParsePanelEntry("0000," + text);
    e.SlotAddress = slot;
    return e;
}

int Parsed::count() const
{
    switch (kind) {
    case BackupKind::Directory: return int(entries.size());
    case BackupKind::Parameters: {
        int n = 0;
        for (int r = ParameterRecordSet::kFirst; r <= ParameterRecordSet::kLast; ++r)
            n += records.has(r) ? 1 : 0;
        return n;
    }
    case BackupKind::Tags: break;
    }
    return tags.codeCount();
}

QByteArray Parsed::bytes() const
{
    switch (kind) {
    case BackupKind::Directory: return ofDirectory(entries);
    case BackupKind::Parameters: return ofParameters(records);
    case BackupKind::Tags: break;
    }
    return ofTags(tags);
}

std::optional<Parsed> parse(BackupKind kind, const QByteArray &bytes, QString *why)
{
    Parsed out;
    out.kind = kind;
    switch (kind) {
    case BackupKind::Directory:
        if (!isPhoneListHeader(firstLine(bytes)))
            return fail(why, QStringLiteral("It is not a phone list: its first line does not name the columns."));
        out.entries = DirectoryBackupContent::entries(bytes);
        return out;
    case BackupKind::Parameters: {
        std::optional<ParameterRecordSet> set = ParameterRecordSet::fromFile(bytes, why);
        if (!set)
            return std::nullopt;
        out.records = *set;
        return out;
    }
    case BackupKind::Tags: break;
    }
    std::optional<StoreImage> image = StoreImage::fromFile(bytes, why);
    if (!image)
        return std::nullopt;
    out.tags = *image;
    return out;
}

std::optional<BackupKind> kindOf(const QByteArray &bytes)
{
    const QByteArray line = firstLine(bytes);
    if (line == ParameterRecordSet::kFileHeader)
        return BackupKind::Parameters;
    if (line == StoreImage::kFileHeader)
        return BackupKind::Tags;
    if (isPhoneListHeader(line))
        return BackupKind::Directory;
    return std::nullopt;
}

std::optional<Parsed> fromFile(const QString &fileName, QString *why)
{
    QByteArray bytes;
    if (!TableFile::loadFile(fileName, &bytes, why))
        return std::nullopt;
    const std::optional<BackupKind> kind = kindOf(bytes);
    if (!kind)
        return fail(why, QStringLiteral("%1 is neither a phone list, nor parameter records, nor an RFID store.")
                             .arg(QDir::toNativeSeparators(fileName)));
    return parse(*kind, bytes, why);
}

} // namespace HistoryContent
