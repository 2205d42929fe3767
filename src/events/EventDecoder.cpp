#include "events/EventDecoder.h"

#include "events/EventFields.h"

QList<QByteArray> EventRow::values() const
{
    return {QByteArray::number(Event), RoomNumber, Date, Time, RlyNo, Source, Client};
}

namespace EventDecoder {

namespace {
bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// 0-based slice that tolerates any length.
QByteArray slice(const QByteArray &line, int firstPosition, int width)
{
    return line.mid(firstPosition - 1, width);
}
} // namespace

std::optional<QByteArray> HexByteToDecimal(const QByteArray &pair, int digits)
{
    if (pair.isEmpty() || pair.size() > 8)
        return std::nullopt;
    for (char c : pair)
        if (!isHexDigit(c))
            return std::nullopt;
    const QByteArray padded = QByteArray(12, '0') + QByteArray::number(pair.toULongLong(nullptr, 16));
    return padded.right(qMax(digits, 0));
}

std::optional<QByteArray> HexPairsToText(const QByteArray &six, char separator)
{
    if (six.size() != 6)
        return QByteArray();
    QByteArray text;
    for (int i = 0; i < 6; i += 2) {
        const std::optional<QByteArray> number = HexByteToDecimal(six.mid(i, 2), 2);
        if (!number)
            return std::nullopt;
        text.append(*number);
        text.append(separator);
        text.truncate(8);
    }
    return text;
}

QByteArray DecodeEventRoom(const QByteArray &field)
{
    if (field.size() != 12)
        return "error";
    switch (field.at(0)) {
    case 'B': return "InCall";
    case 'A': return "Butt." + field.mid(3, 1);
    case 'C': return "error";
    default: break;
    }
    QByteArray room;
    for (int i = 1; i < 12; i += 2) {
        const char digit = field.at(i);
        if (digit == 'F' || uchar(digit) == 0xFF)
            break;
        room.append(digit);
    }
    return room;
}

QByteArray SourceText(const QByteArray &code)
{
    if (code == "0")
        return "local";
    if (code == "1")
        return "Remote";
    if (code == "2")
        return "RF-ID";
    return "Error";
}

std::optional<EventRow> decodeEventRow(const QByteArray &line, int number)
{
    EventRow row;
    row.Event = number;
    row.RoomNumber = DecodeEventRoom(slice(line, 6, 12)).left(EventFields::kRoomWidth);

    const std::optional<QByteArray> date = HexPairsToText(slice(line, 18, 6), '/');
    const std::optional<QByteArray> time = HexPairsToText(slice(line, 24, 6), ':');
    if (!date || !time)
        return std::nullopt;
    row.Date = date->left(EventFields::kDateWidth);
    row.Time = time->left(EventFields::kTimeWidth);

    row.RlyNo = slice(line, 31, 1);
    row.Source = SourceText(slice(line, 33, 1));

    const char marker = line.size() >= 6 ? line.at(5) : '\0';
    if (marker == 'A' || marker == 'B' || marker == 'C')
        row.Client = row.RoomNumber;
    else
        row.Client = slice(line, 38, EventFields::kClientWidth);
    return row;
}

} // namespace EventDecoder

bool DecodeEventLine(Table &EventTable, const QByteArray &line, int number)
{
    const std::optional<EventRow> row = EventDecoder::decodeEventRow(line, number);
    if (!row)
        return false;
    EventTable.appendRecord(row->values());
    return true;
}
