// The directory download's reply: DirectoryTransfer::replyEntries on an
// arbitrary reply, whole or cut short, then the whole GetData on a scripted
// panel that sends that reply in arbitrary chunks. Every entry keeps its
// fields within their widths, and the table the download builds holds
// exactly the entries of the text it took.
//
// Input: one byte for the chunk plan, then the panel's reply to "d01281152".
#include "directory/DirectoryTransfer.h"
#include "directory/PhoneFields.h"
#include "support/FuzzApp.h"
#include "support/FuzzCheck.h"
#include "support/FuzzInput.h"

namespace {

void checkWidths(const PanelEntry &e)
{
    FUZZ_CHECK(e.SlotAddress.size() <= 4);
    FUZZ_CHECK(!e.RoomNumber.isEmpty() && e.RoomNumber.size() <= PhoneFields::kRoomWidth);
    FUZZ_CHECK(e.Code1.size() <= PhoneFields::kCodeWidth);
    FUZZ_CHECK(e.Code2.size() <= PhoneFields::kCodeWidth);
    FUZZ_CHECK(e.Spare.size() <= PhoneFields::kSpareWidth);
    FUZZ_CHECK(e.PHnumber.size() <= PhoneFields::kPhoneWidth);
    FUZZ_CHECK(!e.Name.isEmpty() && e.Name.size() <= PhoneFields::kNameWidth);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const QByteArray reply = FuzzInput::bytes(data + 1, size - 1);

    const QList<PanelEntry> whole = DirectoryTransfer::replyEntries(reply, true);
    const QList<PanelEntry> partial = DirectoryTransfer::replyEntries(reply, false);
    for (const PanelEntry &e : whole)
        checkWidths(e);
    for (const PanelEntry &e : partial)
        checkWidths(e);
    const qsizetype lines = ReplyMemo::splitLines(reply).size();
    FUZZ_CHECK(whole.size() <= qMax<qsizetype>(lines - 2, 0));
    FUZZ_CHECK(partial.size() <= qMax<qsizetype>(lines - 1, 0));

    FuzzApp app;
    app.port.setChunkPlan(ChunkPlan(data[0]));
    app.answerInTurn({reply});
    DirectoryTransfer transfer(app.ctx);
    transfer.GetDataClick();

    FUZZ_CHECK(!app.guard.busy());
    FUZZ_CHECK(!app.link.rx().EchoSuppressed);
    FUZZ_CHECK(!app.directory.TableLoading);
    const bool complete = app.link.conn().DirectorySynced;
    FUZZ_CHECK(app.link.RxMemo().text() == app.link.rx().ReceiveBuffer);
    const QList<PanelEntry> taken = DirectoryTransfer::replyEntries(app.link.RxMemo().text(), complete);
    const Table &table = app.directory.PhoneTable;
    FUZZ_CHECK(table.count() == taken.size());
    for (int row = 0; row < table.count(); ++row) {
        const PanelEntry &e = taken.at(row);
        FUZZ_CHECK(table.value(row, PhoneFields::Name) == e.Name);
        FUZZ_CHECK(table.value(row, PhoneFields::RoomNumber) == e.RoomNumber);
        FUZZ_CHECK(table.value(row, PhoneFields::PHnumber) == e.PHnumber);
        FUZZ_CHECK(table.value(row, PhoneFields::Code1) == e.Code1);
        FUZZ_CHECK(table.value(row, PhoneFields::Code2) == e.Code2);
        FUZZ_CHECK(table.value(row, PhoneFields::Spare) == e.Spare);
        FUZZ_CHECK(table.value(row, PhoneFields::Rfid).isEmpty());
        FUZZ_CHECK(table.value(row, PhoneFields::Addr) == e.SlotAddress);
    }
    return 0;
}
