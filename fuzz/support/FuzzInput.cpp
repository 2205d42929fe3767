#include "support/FuzzInput.h"

namespace FuzzInput {

QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

QList<QByteArray> parts(const QByteArray &input, int maxParts)
{
    const QByteArray separator(kSeparator);
    QList<QByteArray> out;
    qsizetype start = 0;
    while (out.size() + 1 < maxParts) {
        const qsizetype at = input.indexOf(separator, start);
        if (at < 0)
            break;
        out.append(input.mid(start, at - start));
        start = at + separator.size();
    }
    out.append(input.mid(start));
    return out;
}

QByteArray join(const QList<QByteArray> &parts)
{
    return parts.join(QByteArray(kSeparator));
}

} // namespace FuzzInput
