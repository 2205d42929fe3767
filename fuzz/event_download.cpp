// The event download on a scripted panel: the clock line of the reply to
// "t" and the event lines of the reply to "e", in arbitrary chunks, then the
// event file of what arrived. The clock fields keep their two-digit form, a
// completed download holds one row for every line between the reply's first
// and last, nothing is left half done (guard, table controls), and the event
// file is its two clock lines and a table that reads back as the same rows.
//
// Input: one byte for the chunk plan, then the replies to CR, "t" and "e",
// separated by the line "===".
#include "events/EventFields.h"
#include "events/EventFile.h"
#include "events/EventTransfer.h"
#include "link/ReplyMemo.h"
#include "support/FuzzApp.h"
#include "support/FuzzCheck.h"
#include "support/FuzzInput.h"
#include "table/TableFile.h"

namespace {

bool twoDigitForm(const QString &text, QChar separator)
{
    if (text.size() != 8 || text.at(2) != separator || text.at(5) != separator)
        return false;
    for (int i : {0, 1, 3, 4, 6, 7})
        if (!text.at(i).isDigit())
            return false;
    return true;
}

void checkEventFile(const EventLog &log)
{
    const QByteArray file = EventFile::format(log);
    const QList<QByteArray> lines = ReplyMemo::splitLines(file);
    FUZZ_CHECK(file.endsWith("\r\n") && lines.size() >= 3);
    FUZZ_CHECK(lines.at(0) == "Corvalen time when saved was: " + log.clock.Stime().toLatin1() + "  "
                                  + log.clock.Sdate().toLatin1());
    FUZZ_CHECK(lines.at(1) == "Current time when Loaded was: " + log.clock.Ctime().toLatin1() + "  "
                                  + log.clock.Cdate().toLatin1());
    FUZZ_CHECK(lines.at(2) == "Event,RoomNumber,Date,Time,RlyNo,Source,Client");
    const qsizetype tableStart = lines.at(0).size() + lines.at(1).size() + 4;
    const QList<QList<QByteArray>> rows = TableFile::parse(file.mid(tableStart), EventFields::definition());
    const Table &table = log.EventTable;
    FUZZ_CHECK(rows.size() == table.count());
    for (int row = 0; row < table.count(); ++row)
        FUZZ_CHECK(rows.at(row) == table.row(row));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    FuzzApp app;
    app.port.setChunkPlan(ChunkPlan(data[0]));
    app.answerInTurn(FuzzInput::parts(FuzzInput::bytes(data + 1, size - 1), 3));

    EventLog log;
    const QDateTime noon(QDate(2024, 5, 17), QTime(12, 30, 45));
    EventTransfer transfer(app.ctx, log, ComputerClock([noon] { return noon; }, QLocale::c()));
    const EventTransfer::Outcome outcome = transfer.dnLoadClick();

    FUZZ_CHECK(!app.guard.busy());
    // A clock line too short for a field leaves that field empty.
    FUZZ_CHECK(log.clock.Stime().isEmpty() || twoDigitForm(log.clock.Stime(), QLatin1Char(':')));
    FUZZ_CHECK(log.clock.Sdate().isEmpty() || log.clock.Sdate() == QLatin1String("00/00")
               || twoDigitForm(log.clock.Sdate(), QLatin1Char('/')));
    FUZZ_CHECK(log.EventsLoaded() == (outcome == EventTransfer::Outcome::Completed));

    const Table &table = log.EventTable;
    FUZZ_CHECK(!table.controlsDisabled());
    // The clock read's "OK" coming late, before anything else of the event
    // reply, is not one of its lines.
    QByteArray reply = app.link.RxMemo().text();
    while (reply.startsWith("OK\r\n"))
        reply.remove(0, 4);
    const int between = qMax(int(ReplyMemo::splitLines(reply).size()) - 2, 0);
    if (outcome == EventTransfer::Outcome::Completed)
        FUZZ_CHECK(table.count() == between);
    if (outcome == EventTransfer::Outcome::BadEventLine)
        FUZZ_CHECK(table.count() < between);
    for (int row = 0; row < table.count(); ++row) {
        FUZZ_CHECK(table.value(row, EventFields::Event) == QByteArray::number(row + 1));
        FUZZ_CHECK(table.value(row, EventFields::RoomNumber).size() <= EventFields::kRoomWidth);
        FUZZ_CHECK(table.value(row, EventFields::Client).size() <= EventFields::kClientWidth);
    }
    if (table.isOpen())
        checkEventFile(log);
    return 0;
}
