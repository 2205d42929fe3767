#include "link/PayloadCheck.h"

namespace PayloadCheck {

bool holdsLineControl(const QByteArray &payload)
{
    for (char c : payload)
        if (c == '\r' || c == '\n' || c == '\0')
            return true;
    return false;
}

QString visibleText(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const uchar u = uchar(c);
        if (u == '\r')
            text += QStringLiteral("<CR>");
        else if (u == '\n')
            text += QStringLiteral("<LF>");
        else if (u == 0)
            text += QStringLiteral("<NUL>");
        else if (u < 0x20 || u == 0x7F)
            text += QStringLiteral("<0x") + QString::number(u, 16).toUpper().rightJustified(2, QLatin1Char('0'))
                    + QLatin1Char('>');
        else
            text += QChar(u);
    }
    return text;
}

} // namespace PayloadCheck
