#include "rfid/StoreEntryCheck.h"

#include "directory/PhoneFields.h"
#include "link/PayloadCheck.h"
#include "rfid/StoreCodec.h"

namespace StoreEntryCheck {

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
        if (PayloadCheck::holdsLineControl(room.left(StoreCodec::kRoomWidth)))
            return Problem{row, PhoneFields::RoomNumber, room};
        if (PayloadCheck::holdsLineControl(code))
            return Problem{row, PhoneFields::Rfid, code};
    }
    return std::nullopt;
}

QString shown(const QByteArray &value)
{
    QByteArray text = value;
    text.replace('\r', "%c").replace('\n', "%n").replace(QByteArray(1, '\0'), "%0");
    return QString::fromLatin1(text);
}

QString message(const Problem &problem, const QByteArray &name, const QByteArray &room)
{
    return QStringLiteral("Cannot write the RFID codes to the Corvalen:\r\n"
                          "entry %1, Name \"%2\", RoomNumber \"%3\"\r\n"
                          "%4 \"%5\" holds a CR, LF or NUL character.\r\n"
                          "Nothing was sent to the Corvalen.")
        .arg(problem.row + 1)
        .arg(shown(name), shown(room), QString::fromLatin1(problem.field), shown(problem.value));
}

} // namespace StoreEntryCheck
