#include "events/EventFields.h"

namespace EventFields {

QList<Table::Field> definition()
{
    return {
        {Event, 0, Table::FieldType::Integer},
        {RoomNumber, kRoomWidth, Table::FieldType::Text},
        {Date, kDateWidth, Table::FieldType::Text},
        {Time, kTimeWidth, Table::FieldType::Text},
        {RlyNo, kRelayWidth, Table::FieldType::Text},
        {Source, kSourceWidth, Table::FieldType::Text},
        {Client, kClientWidth, Table::FieldType::Text},
    };
}

} // namespace EventFields

void DefineEventTable(Table &EventTable)
{
    EventTable.close();
    EventTable.redefine(EventFields::definition());
}
