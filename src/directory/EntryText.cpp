#include "directory/EntryText.h"

#include "link/UserPrompt.h"

#include <limits>

namespace {
constexpr int kLongestDigits = 16;
}

QByteArray LeadingDigits(const QByteArray &text, int max)
{
    const int limit = qMin(max, kLongestDigits);
    QByteArray out;
    for (char c : text) {
        if (out.size() >= limit || c < '0' || c > '9')
            break;
        out.append(c);
    }
    return out;
}

QByteArray StripLeadingSpaces(const QByteArray &text)
{
    qsizetype start = 0;
    while (start < text.size() && text.at(start) == ' ')
        ++start;
    return text.mid(start);
}

bool IsInteger(const QByteArray &text)
{
    const QByteArray t = StripLeadingSpaces(text);
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t.at(i) == '+' || t.at(i) == '-')) {
        negative = t.at(i) == '-';
        ++i;
    }
    if (i >= t.size())
        return false;
    qint64 value = 0;
    for (; i < t.size(); ++i) {
        const char c = t.at(i);
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
        if (value > qint64(std::numeric_limits<qint32>::max()) + 1)
            return false;
    }
    return negative || value <= std::numeric_limits<qint32>::max();
}

QByteArray NumericOrZero(const QByteArray &text, UserPrompt &prompt)
{
    if (IsInteger(text))
        return text;
    prompt.message(QStringLiteral("Must use Numeric digits in\r\nRoomNumber & Codes fields"));
    return "0";
}
