#include "directory/DirectoryListing.h"

#include "directory/DirectorySlots.h"
#include "link/BulkReply.h"

#include <QStringList>

bool DirectoryListing::holdsData(const PanelEntry &slot)
{
    return !slot.RoomNumber.isEmpty() || !slot.Code1.isEmpty() || !slot.Code2.isEmpty() || !slot.Spare.isEmpty()
        || !slot.PHnumber.isEmpty() || !slot.Name.isEmpty();
}

QList<QByteArray> DirectoryListing::skippedSlots() const
{
    QList<QByteArray> out;
    for (const PanelEntry &slot : occupied)
        if (!isResident(slot))
            out << slot.SlotAddress;
    return out;
}

QString DirectoryListing::skippedText() const
{
    QStringList addresses;
    for (const QByteArray &slot : skippedSlots())
        addresses << QString::fromLatin1(slot);
    constexpr int kNamed = 10;
    QString named = addresses.mid(0, kNamed).join(QStringLiteral(", "));
    if (addresses.size() > kNamed)
        named += QStringLiteral(" ...");
    return QStringLiteral("%1 slot(s) of the Corvalen hold data without a Name or a RoomNumber: %2\r\n"
                          "They were left out of the table, as empty slots are.")
        .arg(addresses.size())
        .arg(named);
}

DirectoryListing DirectoryListing::read(const QByteArray &reply, bool complete)
{
    QByteArray text = reply;
    if (!complete) {
        // Only lines that arrived whole: the text after the last CR LF is cut.
        const qsizetype end = text.lastIndexOf("\r\n");
        text.truncate(end < 0 ? 0 : end + 2);
    }
    const QList<QByteArray> lines = BulkReply::recordLines(text, complete);
    DirectoryListing listing;
    listing.records = BulkReply::recordCount(lines);
    for (const QByteArray &line : lines) {
        if (line.isEmpty())
            continue;
        PanelEntry slot = ParsePanelEntry(line);
        // Only a line that names a slot of the directory read is a slot: a
        // line of noise before the reply is neither a resident of the table
        // nor something a backup keeps and a restore writes back.
        if (!holdsData(slot) || !DirectorySlots::isDirectorySlot(slot.SlotAddress, DirectorySlots::kLastOfAnyModel))
            continue;
        if (isResident(slot))
            listing.entries.append(slot);
        listing.occupied.append(std::move(slot));
    }
    return listing;
}
