#include "rfid/StoreOfTable.h"

#include "directory/PhoneFields.h"
#include "rfid/StoreCodec.h"
#include "table/Table.h"

namespace StoreOfTable {

StoreImage of(const Table &table)
{
    StoreImage image;
    QByteArray text;
    int number = StoreCodec::kFirstRecord;
    for (int row = 0; row < table.count() && number <= StoreCodec::kLastRecord; ++row) {
        const QByteArray room = table.value(row, QByteArray(PhoneFields::RoomNumber));
        const QByteArray code = table.value(row, QByteArray(PhoneFields::Rfid));
        if (room.isEmpty() || code.isEmpty())
            continue;
        text += StoreCodec::packEntry(room, code);
        if (text.size() >= StoreCodec::kRecordWidth) {
            image.setRecord(number++, text);
            text.clear();
        }
    }
    if (!text.isEmpty() && number <= StoreCodec::kLastRecord)
        image.setRecord(number, StoreCodec::padRecord(text));
    return image;
}

} // namespace StoreOfTable
