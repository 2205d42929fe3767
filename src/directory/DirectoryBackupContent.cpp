#include "directory/DirectoryBackupContent.h"

#include "directory/DirectoryComparison.h"
#include "directory/PhoneFields.h"
#include "link/WholeReply.h"
#include "table/Table.h"
#include "table/TableFile.h"

std::optional<PanelContent::Held> DirectoryBackupContent::readHeld(CommandExchange &link, QString *why) const
{
    const std::optional<DirectoryListing> listing = readPanel(link, why);
    if (!listing)
        return std::nullopt;
    const QList<PanelEntry> &panel = listing->occupied;
    return Held{files(panel), int(panel.size()), DirectoryComparison::compare(panel, written_).text()};
}

std::optional<DirectoryListing> DirectoryBackupContent::readPanel(CommandExchange &link, QString *why)
{
    const std::optional<QByteArray> reply = WholeReply::read(link, "d01281152", 1501, 40, why);
    if (!reply)
        return std::nullopt;
    // The panel lists every slot, an empty one too: a reply without a single
    // slot line is a failed read, not an empty directory.
    DirectoryListing listing = DirectoryListing::read(*reply, true);
    if (listing.records == 0) {
        if (why)
            *why = QStringLiteral("The Corvalen's reply held none of the directory's slots.");
        return std::nullopt;
    }
    return listing;
}

QList<PanelContent::File> DirectoryBackupContent::files(const QList<PanelEntry> &entries)
{
    Table table;
    table.redefine(PhoneFields::definition());
    table.open();
    for (const PanelEntry &e : entries)
        table.appendRecord({e.Name, e.RoomNumber, e.PHnumber, e.Code1, e.Code2, e.Spare, QByteArray(), e.SlotAddress});
    return {{QStringLiteral("csv"), TableFile::format(table)}};
}

QList<PanelEntry> DirectoryBackupContent::entries(const QByteArray &csv)
{
    QList<PanelEntry> out;
    for (const QList<QByteArray> &row : TableFile::parse(csv, PhoneFields::definition()))
        out.append({row.value(7), row.value(1), row.value(3), row.value(4), row.value(5), row.value(2), row.value(0)});
    return out;
}

int DirectoryBackupContent::count(const QByteArray &csv)
{
    return int(TableFile::parse(csv, PhoneFields::definition()).size());
}
