#include "rfid/RfidDownload.h"

#include "directory/PhoneFields.h"
#include "link/BulkReply.h"
#include "link/ContentRecorder.h"
#include "rfid/TagStoreContent.h"
#include "rfid/StoreCodec.h"

namespace {
constexpr int kLedOnline = 21;
} // namespace

RfidDownload::RfidDownload(DirectoryContext &ctx, QObject *parent)
    : QObject(parent)
    , ctx_(ctx)
{
}

RfidDownload::Outcome RfidDownload::download_idClick()
{
    ExchangeGuard::Scope scope(ctx_.guard);
    if (!scope)
        return Outcome::Busy;

    CommandExchange &link = ctx_.link;
    PhoneDirectory &directory = ctx_.directory;
    Table &table = directory.PhoneTable;
    TransferFeedback &feedback = ctx_.feedback;

    link.rx().EchoSuppressed = true;
    directory.TableLoading = true;
    link.rx().ReceiveBuffer.clear();
    table.disableControls();
    link.PumpWait(10);

    link.SendCommand("s14081535\r");
    link.RxMemo().clear();
    feedback.showTransferWindow();
    feedback.setBusyCursor(true);
    feedback.startLampBlink();
    feedback.stopKeepAlive();
    link.rx().LineEndCount = 0;
    link.clearReply();

    Outcome outcome = Outcome::Completed;
    if (!link.waitForReply(100, 100) || !fillDirectory()) {
        ctx_.prompt.message(QStringLiteral("communication error"), UserPrompt::Kind::Error);
        outcome = Outcome::CommunicationError;
    }

    table.first();
    link.conn().DirectorySynced = true;
    directory.setWriteEachChangeEnabled(true);

    directory.TableLoading = false;
    feedback.hideTransferWindow();
    feedback.setBusyCursor(false);
    feedback.stopLampBlink();
    feedback.startKeepAlive();
    feedback.setLedImage(kLedOnline);
    link.rx().EchoSuppressed = false;
    table.enableControls();
    if (outcome == Outcome::Completed && ctx_.recorder) {
        QString why;
        if (const std::optional<StoreImage> image = StoreImage::fromReply(link.RxMemo().text(), &why))
            ctx_.recorder->read(PanelContent::Kind::Tags, TagStoreContent::files(*image));
    }
    return outcome;
}

// False, with the directory untouched, when the reply holds no record line:
// the panel lists every record of the store, an erased one too, so an "OK"
// alone is a failed read and not an empty store.
bool RfidDownload::fillDirectory()
{
    CommandExchange &link = ctx_.link;
    assigned_.ClearAssignedAddrs();
    link.PumpWait(1000); // the tail of the reply
    link.RxMemo().setText(link.rx().ReceiveBuffer);

    // The reply's first line names the command and its last is "OK".
    const QList<QByteArray> lines = BulkReply::recordLines(link.RxMemo().text());
    if (BulkReply::recordCount(lines) == 0)
        return false;
    QList<StoreCodec::Entry> entries;
    for (const QByteArray &line : lines) {
        if (line.isEmpty())
            continue;
        for (const StoreCodec::Entry &entry : StoreCodec::entries(line))
            if (!entry.room.isEmpty() && entry.room != "??????" && !entry.code.isEmpty())
                entries.append(entry);
    }
    placeCodes(entries);
    return true;
}

void RfidDownload::placeCodes(const QList<StoreCodec::Entry> &entries)
{
    PhoneDirectory &directory = ctx_.directory;
    Table &table = directory.PhoneTable;
    if (table.count() > 0) {
        emptyCodes();
    } else {
        directory.DefinePhoneFields();
        table.open();
        table.emptyTable();
        directory.SetupPhoneGrid();
    }
    directory.allowPhoneFileSave();
    for (const StoreCodec::Entry &entry : entries)
        assign(entry.room, entry.code);
}

RfidDownload::Outcome RfidDownload::loadStore(const StoreImage &image)
{
    ExchangeGuard::Scope scope(ctx_.guard);
    if (!scope)
        return Outcome::Busy;
    PhoneDirectory &directory = ctx_.directory;
    Table &table = directory.PhoneTable;
    directory.TableLoading = true;
    table.disableControls();
    assigned_.ClearAssignedAddrs();
    placeCodes(image.entries());
    table.first();
    ctx_.link.conn().DirectorySynced = false;
    directory.setWriteEachChangeEnabled(false);
    directory.TableLoading = false;
    table.enableControls();
    return Outcome::Completed;
}

void RfidDownload::emptyCodes()
{
    // A stored entry may take a new place when the table is sorted, so look
    // for the next code from where the last one was found.
    Table &table = ctx_.directory.PhoneTable;
    const int rfid = table.fieldIndex(PhoneFields::Rfid);
    if (!table.isOpen())
        return;
    int row = 0;
    while (row < table.count()) {
        if (table.value(row, rfid).isEmpty()) {
            ++row;
            continue;
        }
        table.moveTo(row);
        table.setField(rfid, {});
        if (!table.post())
            ++row;
    }
}

void RfidDownload::assign(const QByteArray &room, const QByteArray &code)
{
    Table &table = ctx_.directory.PhoneTable;
    const int roomField = table.fieldIndex(PhoneFields::RoomNumber);
    const int addrField = table.fieldIndex(PhoneFields::Addr);
    for (int row = 0; row < table.count(); ++row) {
        const QByteArray addr = table.value(row, addrField);
        if (table.value(row, roomField) != room || assigned_.IsAddrAssigned(addr))
            continue;
        table.moveTo(row);
        table.setField(PhoneFields::Rfid, code);
        table.post();
        assigned_.MarkAddrAssigned(addr);
        return;
    }

    const QByteArray addr = placeholderAddr();
    table.append();
    table.setField(PhoneFields::Rfid, code);
    table.setField(PhoneFields::RoomNumber, room);
    table.setField(PhoneFields::Addr, addr);
    table.post();
    assigned_.recordAppended(addr);
}

QByteArray RfidDownload::placeholderAddr() const
{
    // "p" + the counter names an appended entry. Entries appended by an
    // earlier download may already carry that name; taking it again would
    // make that entry count as assigned and lose its code to a duplicate, so
    // the next number not in use is taken instead.
    const Table &table = ctx_.directory.PhoneTable;
    for (int n = assigned_.counter();; ++n) {
        const QByteArray addr = "p" + QByteArray::number(n);
        if (addr.size() > PhoneFields::kAddrWidth || table.find(PhoneFields::Addr, addr) < 0)
            return addr;
    }
}
