#include "rfid/StoreEntryCheck.h"

#include "directory/PhoneFields.h"
#include "rfid/StoreCodec.h"

namespace StoreEntryCheck {

namespace {
bool holdsControlByte(const QByteArray &text)
{
    for (char c : text)
        if (uchar(c) < 0x20)
            return true;
    return false;
}
} // namespace

std::optional<Problem> firstUnsendable(const Table &phoneTable)
{
    const int roomField = phoneTable.fieldIndex(PhoneFields::RoomNumber);
    const int rfidField = phoneTable.fieldIndex(PhoneFields::Rfid);
    if (roomField < 0 || rfidField < 0)
        return std::nullopt;
    for (int row = 0; row < phoneTable.count(); ++row) {
        const QByteArray room = phoneTable.value(row, roomField);
        const QByteArray code = phoneTable.value(row, rfidField);
        if (room.isEmpty() || code.isEmpty())
            continue; // not written
        if (holdsControlByte(room.left(StoreCodec::kRoomWidth)))
            return Problem{row, PhoneFields::RoomNumber, room};
        if (holdsControlByte(code))
            return Problem{row, PhoneFields::Rfid, code};
    }
    return std::nullopt;
}

QString shown(const QByteArray &value)
{
    QString out;
    for (char c : value) {
        const uchar u = uchar(c);
        if (u == '\r')
            out += QStringLiteral("<CR>");
        else if (u == '\n')
            out += QStringLiteral("<LF>");
        else if (u == 0)
            out += QStringLiteral("<NUL>");
        else if (u < 0x20)
            out += QStringLiteral("<x%1>").arg(u, 2, 16, QLatin1Char('0'));
        else
            out += QChar(u); // Latin-1
    }
    return out;
}

QString message(const Problem &problem, const QByteArray &name)
{
    return QStringLiteral("Write All was not started: the %1 of entry %2 (%3) holds a control character,\r\n"
                          "which would cut its command short: \"%4\".\r\n"
                          "Correct or erase it; nothing was sent to the Corvalen.")
        .arg(QString::fromLatin1(problem.field))
        .arg(problem.row + 1)
        .arg(shown(name), shown(problem.value));
}

} // namespace StoreEntryCheck
