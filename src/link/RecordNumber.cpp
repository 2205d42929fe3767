#include "link/RecordNumber.h"

namespace RecordNumber {

QByteArray fromInt(qint64 n)
{
    return (QByteArray("0000") + QByteArray::number(n)).right(4);
}

std::optional<QByteArray> fromAddress(const QByteArray &hexAddress)
{
    if (hexAddress.isEmpty() || hexAddress.size() > 8)
        return std::nullopt;
    for (char c : hexAddress) {
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!hex)
            return std::nullopt;
    }
    bool ok = false;
    const quint32 value = hexAddress.toUInt(&ok, 16);
    if (!ok)
        return std::nullopt;
    return fromInt(value / 32);
}

} // namespace RecordNumber
