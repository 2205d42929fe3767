#include "directory/PhoneFieldChecks.h"

#include "directory/EntryText.h"

namespace PhoneFieldChecks {

namespace {
bool isAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
} // namespace

FieldCheck NamefEnter(const QByteArray &text)
{
    FieldCheck r;
    r.text = StripLeadingSpaces(text);
    if (r.text.isEmpty() || !(isAsciiLetter(r.text.at(0)) || isDigit(r.text.at(0)))) {
        r.message = QStringLiteral("must enter a name or number\r\n"
                                   "without a space as a first character\r\n"
                                   "start characters may be:\r\n"
                                   " A-Z or a-z or 0-9");
        r.focusStays = true;
        r.selectAll = true;
        return r;
    }
    r.updateButtons = true;
    return r;
}

FieldCheck RoomNumberEnter(const QByteArray &text)
{
    FieldCheck r;
    r.text = text;
    if (text.isEmpty()) {
        r.message = QStringLiteral("Must enter a number");
        r.focusStays = true;
        return r;
    }
    r.updateButtons = true;
    r.text = StripLeadingSpaces(text);
    if (!IsPanelNumber(r.text)) {
        r.message = QStringLiteral("Must enter a number");
        r.focusStays = true;
        r.selectAll = true;
    }
    return r;
}

FieldCheck CodeExit(const QByteArray &text)
{
    FieldCheck r;
    r.text = text;
    if (text.isEmpty())
        return r;
    r.text = StripLeadingSpaces(text);
    if (!IsPanelNumber(r.text)) {
        r.message = QStringLiteral("Numbers Only");
        r.focusStays = true;
    }
    return r;
}

FieldCheck PHnumberExit(const QByteArray &text)
{
    FieldCheck r;
    r.text = text.isEmpty() ? text : StripLeadingSpaces(text);
    return r;
}

bool PHnumberKeyAllowed(char key)
{
    return isDigit(key) || key == 'p' || key == 'P' || key == '*' || key == '#' || key == ':' || key == '\r'
        || key == '\b';
}

bool LetterKeyAllowed(char key)
{
    return !isAsciiLetter(key);
}

} // namespace PhoneFieldChecks
