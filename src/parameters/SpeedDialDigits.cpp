#include "parameters/SpeedDialDigits.h"

namespace SpeedDialDigits {

QByteArray DecodeDialDigits(const QByteArray &text)
{
    QByteArray out;
    for (char c : text) {
        if (c == '?')
            break;
        switch (c) {
        case ':': out.append('*'); break;
        case ';': out.append('#'); break;
        case '<': out.append('p'); break;
        default: out.append(c);
        }
    }
    return out;
}

QByteArray EncodeDialDigits(const QByteArray &text, int max)
{
    QByteArray out;
    const qsizetype limit = qMin<qsizetype>(qMax(max, 0), text.size());
    for (qsizetype i = 0; i < limit && out.size() < 16; ++i) {
        const char c = text.at(i);
        if (c >= '0' && c <= '9')
            out.append(c);
        else if (c == '*')
            out.append(':');
        else if (c == '#')
            out.append(';');
        else if (c == 'p' || c == 'P' || c == ':')
            out.append('<');
        else
            break;
    }
    return out;
}

} // namespace SpeedDialDigits
