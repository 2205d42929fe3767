#include "rfid/TagStoreContent.h"

#include "link/WholeReply.h"
#include "rfid/TagComparison.h"

std::optional<PanelContent::Held> TagStoreContent::readHeld(CommandExchange &link, QString *why) const
{
    const std::optional<StoreImage> image = readPanel(link, why);
    if (!image)
        return std::nullopt;
    return Held{files(*image), image->codeCount(), TagComparison::text(TagComparison::changes(image->entries(), written_))};
}

std::optional<StoreImage> TagStoreContent::readPanel(CommandExchange &link, QString *why)
{
    const std::optional<QByteArray> reply = WholeReply::read(link, "s14081535", 100, 100, why);
    if (!reply)
        return std::nullopt;
    QString reason;
    std::optional<StoreImage> image = StoreImage::fromReply(*reply, &reason);
    if (!image && why)
        *why = QStringLiteral("The Corvalen's RFID store could not be read: %1").arg(reason);
    return image;
}

QList<PanelContent::File> TagStoreContent::files(const StoreImage &image)
{
    return {{QStringLiteral("rfid"), image.toFile()}};
}

int TagStoreContent::count(const QByteArray &file)
{
    const std::optional<StoreImage> image = StoreImage::fromFile(file, nullptr);
    return image ? image->codeCount() : -1;
}
