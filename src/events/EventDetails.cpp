#include "events/EventDetails.h"

#include "events/EventFields.h"

EventDetails EventTableAfterScroll(const Table &EventTable)
{
    EventDetails details;
    const int position = EventTable.isOpen() ? EventTable.position() : -1;
    if (position < 1)
        return details;
    details.E_Numb = QByteArray::number(position);
    details.E_Room = EventTable.field(EventFields::RoomNumber);
    details.E_Client = EventTable.field(EventFields::Client);
    details.E_relay = EventTable.field(EventFields::RlyNo);
    details.E_source = EventTable.field(EventFields::Source);
    details.E_time = EventTable.field(EventFields::Time);
    details.E_date = EventTable.field(EventFields::Date);
    return details;
}
