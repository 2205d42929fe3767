#include "table/Latin1Text.h"

#include <QList>
#include <QString>
#include <QStringDecoder>

namespace Latin1Text {

bool isUtf8(QByteArrayView bytes)
{
    bool wide = false;
    for (char c : bytes)
        if (uchar(c) > 0x7F) {
            wide = true;
            break;
        }
    if (!wide)
        return false;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

QByteArray fromUnicode(QStringView text, bool *replaced)
{
    const QString composed = text.toString().normalized(QString::NormalizationForm_C);
    QByteArray out;
    out.reserve(composed.size());
    for (char32_t c : QStringView(composed).toUcs4()) {
        if (c <= 0xFF) {
            out.append(char(c));
        } else {
            out.append('?');
            if (replaced)
                *replaced = true;
        }
    }
    return out;
}

QByteArray fromUtf8(QByteArrayView utf8, bool *replaced)
{
    return fromUnicode(QString::fromUtf8(utf8), replaced);
}

QByteArray toUtf8(QByteArrayView latin1)
{
    return QString::fromLatin1(latin1).toUtf8();
}

QByteArray utf16AsUtf8(const QByteArray &bytes)
{
    const bool little = bytes.startsWith("\xFF\xFE");
    if (!little && !bytes.startsWith("\xFE\xFF"))
        return bytes;
    QStringDecoder decoder(little ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
    const QString text = decoder.decode(QByteArrayView(bytes).sliced(2));
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

} // namespace Latin1Text
