#include "directory/PhoneFields.h"

namespace PhoneFields {

QList<Table::Field> definition()
{
    return {
        {Name, kNameWidth, Table::FieldType::Text},
        {RoomNumber, kRoomWidth, Table::FieldType::Text},
        {PHnumber, kPhoneWidth, Table::FieldType::Text},
        {Code1, kCodeWidth, Table::FieldType::Text},
        {Code2, kCodeWidth, Table::FieldType::Text},
        {Spare, kSpareWidth, Table::FieldType::Text},
        {Rfid, kRfidWidth, Table::FieldType::Text},
        {Addr, kAddrWidth, Table::FieldType::Text},
    };
}

} // namespace PhoneFields
