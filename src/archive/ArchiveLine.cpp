#include "archive/ArchiveLine.h"

#include "archive/ArchiveDates.h"
#include "events/EventDecoder.h"
#include "events/EventFields.h"

namespace {
QByteArray slice(const QByteArray &line, int firstPosition, int width)
{
    return line.mid(firstPosition - 1, width);
}
} // namespace

ArchiveLine ArchiveLine::decode(const QByteArray &line, const QDate &reference)
{
    ArchiveLine out;
    const QByteArray dateHex = slice(line, 18, 6);
    const QByteArray timeHex = slice(line, 24, 6);
    if (const std::optional<EventRow> row = EventDecoder::decodeEventRow(line, 1)) {
        out.decoded = true;
        out.room = row->RoomNumber;
        out.client = row->Client;
        out.relay = row->RlyNo;
        out.date = row->Date;
        out.time = row->Time;
        out.source = EventSources::ofText(row->Source);
    } else {
        // The fields that do not depend on the date and time, by the same
        // rules; the date and time as they came.
        out.room = EventDecoder::DecodeEventRoom(slice(line, 6, 12)).left(EventFields::kRoomWidth);
        const char marker = line.size() >= 6 ? line.at(5) : '\0';
        out.client = (marker == 'A' || marker == 'B' || marker == 'C')
                         ? out.room
                         : slice(line, 38, EventFields::kClientWidth);
        out.relay = slice(line, 31, 1);
        out.source = EventSources::ofText(EventDecoder::SourceText(slice(line, 33, 1)));
        out.date = dateHex;
        out.time = timeHex;
    }
    out.kind = EventKinds::ofRoom(out.room);
    out.fullDate = ArchiveDates::eventDate(dateHex, reference);
    out.second = ArchiveDates::eventSecond(timeHex);
    return out;
}
