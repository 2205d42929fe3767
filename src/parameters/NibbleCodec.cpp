#include "parameters/NibbleCodec.h"

#include "parameters/WholeNumber.h"

namespace NibbleCodec {

QByteArray EncodeNibbleByte(int value)
{
    QByteArray hex = QByteArray::number(quint32(value), 16).toUpper();
    if (hex.size() < 2)
        hex.prepend('0');
    QByteArray out = hex.left(2);
    for (char &c : out) {
        if (c >= 'A' && c <= 'F')
            c = char(c - 7);
        else if (c < '0' || c > '9')
            c = '0';
    }
    return out;
}

std::optional<QByteArray> EncodeNibbleByte(const QByteArray &decimal)
{
    const std::optional<int> value = WholeNumber::parse(decimal);
    if (!value)
        return std::nullopt;
    return EncodeNibbleByte(*value);
}

namespace {
int nibble(const QByteArray &pair, int i)
{
    if (i >= pair.size())
        return 0;
    const char c = pair.at(i);
    return (c >= '0' && c <= '?') ? c - '0' : 0;
}
} // namespace

QByteArray DecodeNibbleByte(const QByteArray &pair)
{
    if (pair.isEmpty())
        return {};
    return QByteArray::number(16 * nibble(pair, 0) + nibble(pair, 1));
}

} // namespace NibbleCodec
