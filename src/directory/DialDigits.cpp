#include "directory/DialDigits.h"

#include <algorithm>

namespace {
constexpr int kLongestNumber = 16;
}

QByteArray DecodeDialDigits(const QByteArray &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '?': return out;
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
    const qsizetype looked = std::clamp<qsizetype>(max, 0, text.size());
    for (qsizetype i = 0; i < looked && out.size() < kLongestNumber; ++i) {
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
