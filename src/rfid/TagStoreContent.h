#pragma once

#include "link/PanelContent.h"
#include "rfid/StoreImage.h"

// The panel's RFID store as what is kept before Write All erases it: the
// store record for record (".rfid", StoreImage).
class TagStoreContent : public PanelContent
{
public:
    explicit TagStoreContent(QList<StoreCodec::Entry> written) : written_(std::move(written)) {}

    Kind kind() const override { return Kind::Tags; }
    QString what() const override { return QStringLiteral("RFID codes"); }
    std::optional<Held> readHeld(CommandExchange &link, QString *why) const override;

    // "s14081535": the whole RFID store, up to 100 steps of 86.4 ms.
    static std::optional<StoreImage> readPanel(CommandExchange &link, QString *why);

    static QList<File> files(const StoreImage &image);
    // The tags of a kept ".rfid" file; -1 when it is not one.
    static int count(const QByteArray &file);

private:
    QList<StoreCodec::Entry> written_;
};
