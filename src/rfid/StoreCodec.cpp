#include "rfid/StoreCodec.h"

namespace StoreCodec {

QByteArray PanelCharToHex(char c)
{
    if (c >= '0' && c <= '9')
        return QByteArray(1, c);
    if (c >= ':' && c <= '?')
        return QByteArray(1, char(c + 7));
    return {};
}

QByteArray HexToPanelChars(const QByteArray &code)
{
    QByteArray out = UpperCaseCode(code);
    for (char &c : out)
        if (c >= 'A' && c <= 'F')
            c = char(c - 7);
    return out;
}

QByteArray UpperCaseCode(const QByteArray &code)
{
    QByteArray out = code;
    for (char &c : out)
        if (c >= 'a' && c <= 'f')
            c = char(c - 'a' + 'A');
    return out;
}

QByteArray DecodeStoreRoom(const QByteArray &room)
{
    QByteArray out;
    for (char c : room) {
        if (c == '?' || uchar(c) == 0xFF)
            break;
        out.append(c);
    }
    return out;
}

QByteArray DecodeStoreCode(const QByteArray &code)
{
    if (code.count('?') == code.size())
        return {};
    QByteArray out;
    for (char c : code)
        out.append(PanelCharToHex(c));
    return out;
}

QList<Entry> entries(const QByteArray &replyLine)
{
    const QByteArray rest = replyLine.mid(kReplyPrefix);
    QList<Entry> out;
    for (int k = 0; k < kEntriesPerRecord; ++k) {
        const int at = k * kEntryWidth;
        out.append({DecodeStoreRoom(rest.mid(at, kRoomWidth)), DecodeStoreCode(rest.mid(at + kRoomWidth, kCodeWidth))});
    }
    return out;
}

QByteArray packEntry(const QByteArray &room, const QByteArray &code)
{
    return room.left(kRoomWidth).leftJustified(kRoomWidth, '?') + HexToPanelChars(code);
}

QByteArray padRecord(const QByteArray &text)
{
    return text.leftJustified(kRecordWidth, '?');
}

} // namespace StoreCodec
