#include "parameters/RecordFields.h"

#include "parameters/WholeNumber.h"

namespace RecordFields {

QByteArray PadField(const QByteArray &text, int width, char fill)
{
    if (text.size() >= width)
        return text;
    return text + QByteArray(width - text.size(), fill);
}

std::optional<QByteArray> ClampParameter(const QByteArray &text, int minimum, int maximum)
{
    const std::optional<int> value = WholeNumber::parse(text);
    if (!value)
        return std::nullopt;
    QByteArray result = text;
    if (*value > maximum)
        result = QByteArray::number(maximum);
    if (*value < minimum)
        result = QByteArray::number(minimum);
    return result;
}

QByteArray EncodeGateCode(const QByteArray &text)
{
    QByteArray digits;
    for (char c : text) {
        if (c < '0' || c > '9' || digits.size() == 4)
            break;
        digits.append(c);
    }
    return PadField(digits, 4, kErased);
}

QByteArray CleanReplyField(const QByteArray &slice)
{
    if (slice.isEmpty())
        return QByteArrayLiteral("ERROR");
    QByteArray out = slice;
    out.replace(kErased, '\0');
    return out;
}

QByteArray slice(const QByteArray &text, int first, int last)
{
    if (first < 1 || last < first || first > text.size())
        return {};
    return text.mid(first - 1, last - first + 1);
}

} // namespace RecordFields
