// One line of the event log: the decoder on arbitrary text. A line is refused
// only when its date or time holds a pair that is not hexadecimal; a decoded
// row keeps every field within its width, dates and times in their
// two-digit form, and goes into the event table unchanged.
//
// Input: the line, without its CR LF.
#include "events/EventDecoder.h"
#include "events/EventFields.h"
#include "support/FuzzCheck.h"
#include "support/FuzzInput.h"

namespace {

bool allHex(const QByteArray &text)
{
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

// Empty, or three two-digit numbers joined by the separator.
bool pairsForm(const QByteArray &text, char separator)
{
    if (text.isEmpty())
        return true;
    if (text.size() != 8 || text.at(2) != separator || text.at(5) != separator)
        return false;
    for (int i : {0, 1, 3, 4, 6, 7})
        if (text.at(i) < '0' || text.at(i) > '9')
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray line = FuzzInput::bytes(data, size);
    const std::optional<EventRow> row = EventDecoder::decodeEventRow(line, 7);

    const QByteArray date = line.mid(17, 6);
    const QByteArray time = line.mid(23, 6);
    const bool refused = (date.size() == 6 && !allHex(date)) || (time.size() == 6 && !allHex(time));
    FUZZ_CHECK(row.has_value() != refused);

    Table table;
    DefineEventTable(table);
    table.open();
    FUZZ_CHECK(DecodeEventLine(table, line, 7) == row.has_value());
    if (!row) {
        FUZZ_CHECK(table.count() == 0);
        return 0;
    }
    FUZZ_CHECK(row->Event == 7);
    FUZZ_CHECK(row->RoomNumber.size() <= EventFields::kRoomWidth);
    FUZZ_CHECK(pairsForm(row->Date, '/'));
    FUZZ_CHECK(pairsForm(row->Time, ':'));
    FUZZ_CHECK(row->RlyNo.size() <= EventFields::kRelayWidth);
    FUZZ_CHECK(row->Source == "local" || row->Source == "Remote" || row->Source == "RF-ID" || row->Source == "Error");
    FUZZ_CHECK(row->Client.size() <= EventFields::kClientWidth);

    FUZZ_CHECK(table.count() == 1);
    FUZZ_CHECK(table.row(0) == row->values());
    return 0;
}
