// The RFID store: StoreCodec on arbitrary record lines, and the RFID
// DownLoad on a scripted panel sending an arbitrary reply in arbitrary
// chunks. Rooms and codes come out within their widths, codes in hexadecimal
// digits; a full-length code written back reads back the same; the download
// gives every code of the reply to the directory and leaves it usable.
//
// Input: one byte for the chunk plan, then the panel's reply to
// "s14081535".
#include "directory/PhoneFields.h"
#include "link/ReplyMemo.h"
#include "rfid/RfidDownload.h"
#include "rfid/StoreCodec.h"
#include "support/FuzzApp.h"
#include "support/FuzzCheck.h"
#include "support/FuzzInput.h"

namespace {

bool hexDigits(const QByteArray &code)
{
    for (char c : code)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')))
            return false;
    return true;
}

// The entries of one line; returns how many carry a code for a room.
int checkLine(const QByteArray &line)
{
    const QList<StoreCodec::Entry> entries = StoreCodec::entries(line);
    FUZZ_CHECK(entries.size() == StoreCodec::kEntriesPerRecord);
    int codes = 0;
    QByteArray record;
    for (const StoreCodec::Entry &e : entries) {
        FUZZ_CHECK(e.room.size() <= StoreCodec::kRoomWidth);
        FUZZ_CHECK(!e.room.contains('?') && !e.room.contains(char(0xFF)));
        FUZZ_CHECK(e.code.size() <= StoreCodec::kCodeWidth);
        FUZZ_CHECK(hexDigits(e.code));
        if (!e.room.isEmpty() && e.code.size() == StoreCodec::kCodeWidth)
            record += StoreCodec::packEntry(e.room, e.code);
        if (!e.room.isEmpty() && !e.code.isEmpty())
            ++codes;
    }
    // What Write All would store for the full-length codes reads back whole.
    const QList<StoreCodec::Entry> again = StoreCodec::entries("1408 " + StoreCodec::padRecord(record));
    int k = 0;
    for (const StoreCodec::Entry &e : entries) {
        if (e.room.isEmpty() || e.code.size() != StoreCodec::kCodeWidth)
            continue;
        FUZZ_CHECK(again.at(k).room == e.room);
        FUZZ_CHECK(again.at(k).code == e.code);
        ++k;
    }
    return codes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const QByteArray reply = FuzzInput::bytes(data + 1, size - 1);
    for (const QByteArray &line : ReplyMemo::splitLines(reply))
        checkLine(line);

    FuzzApp app;
    app.port.setChunkPlan(ChunkPlan(data[0]));
    app.answerInTurn({reply});
    Table &table = app.directory.PhoneTable;
    table.appendRecord({"Ann", "0012", "", "", "", "", "0000000001", "1000"});
    table.appendRecord({"Bob", "12", "", "", "", "", "", "1020"});
    RfidDownload download(app.ctx);
    const RfidDownload::Outcome outcome = download.download_idClick();

    FUZZ_CHECK(!app.guard.busy());
    FUZZ_CHECK(!app.link.rx().EchoSuppressed);
    FUZZ_CHECK(!app.directory.TableLoading);
    FUZZ_CHECK(!table.controlsDisabled());
    FUZZ_CHECK(table.state() == Table::State::Browse);
    int codes = 0;
    for (int row = 0; row < table.count(); ++row) {
        const QByteArray code = table.value(row, PhoneFields::Rfid);
        FUZZ_CHECK(code.size() <= PhoneFields::kRfidWidth);
        if (!code.isEmpty())
            ++codes;
    }
    if (outcome != RfidDownload::Outcome::Completed)
        return 0;
    // Every code of a record line between the reply's first and last line
    // went into the directory (entries with a room of six "?" are empty).
    const QList<QByteArray> lines = app.link.RxMemo().lines();
    int expected = 0;
    for (qsizetype i = 1; i + 1 < lines.size(); ++i)
        expected += checkLine(lines.at(i));
    FUZZ_CHECK(codes == expected);
    return 0;
}
