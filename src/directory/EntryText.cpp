#include "directory/EntryText.h"

#include "link/UserPrompt.h"

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

bool IsPanelNumber(const QByteArray &text)
{
    if (text.isEmpty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

QByteArray NumericOrZero(const QByteArray &text, UserPrompt &prompt)
{
    const QByteArray digits = StripLeadingSpaces(text);
    if (IsPanelNumber(digits))
        return digits;
    prompt.message(QStringLiteral("Must use Numeric digits in\r\nRoomNumber & Codes fields"));
    return "0";
}
