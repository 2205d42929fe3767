#include "parameters/WholeNumber.h"

#include <limits>

namespace WholeNumber {

std::optional<int> parse(const QByteArray &text)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text.at(i) == '+' || text.at(i) == '-')) {
        negative = text.at(i) == '-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > qint64(1) << 31)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return std::nullopt;
    return int(value);
}

QString invalidMessage(const QByteArray &text)
{
    return QStringLiteral("'%1' is not a valid integer value").arg(QString::fromLatin1(text));
}

} // namespace WholeNumber
