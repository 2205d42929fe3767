#include "sites/SiteAddress.h"

#include "link/PortAddress.h"

namespace SiteAddress {

std::optional<QString> normalised(const QString &text, QString *error)
{
    for (QChar c : text) {
        if (c.category() == QChar::Other_Control) {
            if (error)
                *error = QStringLiteral("The address holds a line break or another control character");
            return std::nullopt;
        }
    }
    const std::optional<PortAddress> address = PortAddress::parse(text, error);
    if (!address)
        return std::nullopt;
    if (address->kind() == PortAddress::Kind::Device && !address->devicePath().startsWith(QLatin1Char('/'))) {
        if (error)
            *error = QStringLiteral("\"%1\": write the device's full path, such as /dev/ttyUSB0 or "
                                    "/dev/serial/by-id/usb-..., or COM1 to COM4, tcp://HOST:PORT, rfc2217://HOST:PORT")
                         .arg(address->devicePath());
        return std::nullopt;
    }
    return address->toString();
}

} // namespace SiteAddress
