#include "PanelLines.h"

namespace PanelLines {

namespace {
QByteArray hexByte(int value)
{
    return QByteArray::number(value & 0xFF, 16).rightJustified(2, '0').toUpper();
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}
} // namespace

QByteArray recordNumber(int record)
{
    return QByteArray::number(record).rightJustified(4, '0').right(4);
}

QByteArray address(int record)
{
    return QByteArray::number(record * 32, 16).toUpper().rightJustified(4, '0').right(4);
}

QByteArray directoryContent(const QByteArray &stored)
{
    // Room, Code1, Code2, spare, digits, Name: the digits follow the fourth comma.
    qsizetype start = 0;
    for (int comma = 0; comma < 4; ++comma) {
        start = stored.indexOf(',', start);
        if (start < 0)
            return stored;
        ++start;
    }
    const qsizetype end = stored.indexOf(',', start);
    if (end < 0)
        return stored;
    const qsizetype digits = end - start;
    if (digits >= 16)
        return stored;
    QByteArray out = stored;
    out.insert(end, QByteArray(16 - digits, '?'));
    return out;
}

QByteArray readLine(int record, const QByteArray &content)
{
    return address(record) + ' ' + content;
}

QByteArray storeLine(int record, const QByteArray &content)
{
    QByteArray line = recordNumber(record) + ' ' + content;
    if (content.size() < 64)
        line.append(QByteArray(64 - content.size(), '?'));
    return line;
}

QByteArray clockLine(const QDateTime &time)
{
    const QDate d = time.date();
    const QTime t = time.time();
    return hexByte(t.second()) + hexByte(t.minute()) + hexByte(t.hour()) + hexByte(d.day()) + hexByte(d.month())
         + hexByte(d.year() % 100);
}

QByteArray eventRoomField(const PanelEvent &event)
{
    switch (event.kind) {
    case PanelEvent::Kind::Button:
        return "A00" + QByteArray::number(event.digit & 0xF, 16).toUpper() + QByteArray(8, 'F');
    case PanelEvent::Kind::Call:
        return "B0" + QByteArray(10, 'F');
    case PanelEvent::Kind::Error:
        return "C00" + QByteArray::number(event.digit & 0xF, 16).toUpper() + QByteArray(8, 'F');
    case PanelEvent::Kind::Room:
        break;
    }
    QByteArray field;
    for (char c : event.room) {
        if (field.size() == 12)
            break;
        if (c >= '0' && c <= '9')
            field += '0' + QByteArray(1, c);
    }
    while (field.size() < 12)
        field += "FF";
    return field;
}

QByteArray eventLine(int number, const PanelEvent &event)
{
    const QDate d = event.when.date();
    const QTime t = event.when.time();
    QByteArray name = event.kind == PanelEvent::Kind::Room ? event.name.left(16) : QByteArray();
    name = name.leftJustified(16, ' ');
    return recordNumber(number) + ' ' + eventRoomField(event) + hexByte(d.day()) + hexByte(d.month())
         + hexByte(d.year() % 100) + hexByte(t.hour()) + hexByte(t.minute()) + hexByte(t.second()) + ' '
         + QByteArray::number(qBound(0, event.relay, 9)) + ' ' + QByteArray::number(qBound(0, event.source, 9))
         + "    " + name;
}

std::optional<QByteArray> normaliseTag(const QByteArray &code)
{
    if (code.size() != 10)
        return std::nullopt;
    for (char c : code)
        if (hexValue(c) < 0)
            return std::nullopt;
    return code.toUpper();
}

QByteArray tagLine(const QByteArray &code, bool corruptCheck)
{
    int check = 0;
    for (int i = 0; i + 1 < code.size(); i += 2)
        check ^= hexValue(code.at(i)) * 16 + hexValue(code.at(i + 1));
    if (corruptCheck)
        check ^= 0x5A;
    return code + hexByte(check);
}

QByteArray hexToPanel(const QByteArray &hex)
{
    QByteArray out = hex;
    for (char &c : out) {
        const int v = hexValue(c);
        if (v >= 10)
            c = char('0' + v);
    }
    return out;
}

QByteArray dialToPanel(const QByteArray &dial, int max)
{
    QByteArray out;
    for (char c : dial) {
        if (out.size() == max)
            break;
        if (c >= '0' && c <= '9')
            out += c;
        else if (c == '*')
            out += ':';
        else if (c == '#')
            out += ';';
        else if (c == 'p' || c == 'P')
            out += '<';
        else
            break;
    }
    return out;
}

} // namespace PanelLines
