#include "directory/DirectoryTransfer.h"

#include "directory/DirectoryBackupContent.h"
#include "directory/DirectoryContext.h"
#include "directory/DirectoryListing.h"
#include "directory/PhoneFields.h"
#include "directory/ScrollSyncPause.h"
#include "link/ContentRecorder.h"
#include "link/ReplyMemo.h"

namespace {

constexpr int kDownloadSteps = 1501;   // of 86.4 ms: about 130 s
constexpr int kSilentStepsAllowed = 40; // the 41st silent step in a row ends the wait

const QString kCommunicationError = QStringLiteral("communication error");

} // namespace

DirectoryTransfer::DirectoryTransfer(DirectoryContext &ctx, QObject *parent)
    : QObject(parent)
    , ctx_(ctx)
{
}

QList<PanelEntry> DirectoryTransfer::replyEntries(const QByteArray &reply, bool complete)
{
    return DirectoryListing::read(reply, complete).entries;
}

void DirectoryTransfer::beginTransferFeedback()
{
    ctx_.feedback.showTransferWindow();
    ctx_.feedback.setBusyCursor(true);
    ctx_.feedback.startLampBlink();
    ctx_.feedback.stopKeepAlive();
}

void DirectoryTransfer::endTransferFeedback()
{
    ctx_.feedback.hideTransferWindow();
    ctx_.feedback.setBusyCursor(false);
    ctx_.feedback.stopLampBlink();
    ctx_.feedback.startKeepAlive();
    ctx_.feedback.setLedImage(ctx_.link.conn().LoggedOn ? 21 : 22);
}

// ---- Download -------------------------------------------------------------

DirectoryTransfer::Outcome DirectoryTransfer::GetDataClick()
{
    ExchangeGuard::Scope scope(ctx_.guard);
    if (!scope)
        return Outcome::Busy;
    CommandExchange &link = ctx_.link;
    ReceiveState &rx = link.rx();

    rx.EchoSuppressed = true;
    ctx_.directory.TableLoading = true;
    rx.ReceiveBuffer.clear();
    link.PumpWait(10);
    link.SendCommand("d01281152\r");
    link.RxMemo().clear();
    beginTransferFeedback();
    emit progressVisibleChanged(true);

    const bool ended = waitForDirectory();
    link.PumpWait(1000); // the tail of the reply
    emit progressVisibleChanged(false);
    link.RxMemo().setText(rx.ReceiveBuffer);
    const DirectoryListing listing = DirectoryListing::read(link.RxMemo().text(), ended);
    // The panel lists every slot, an empty one too: an "OK" without a single
    // slot line is a failed read, not an empty directory.
    const bool complete = ended && listing.records > 0;
    const bool replaced = rebuildTable(listing, complete);

    endTransferFeedback();
    rx.EchoSuppressed = false;
    if (!complete) {
        ctx_.prompt.message(replaced ? QStringLiteral("communication error\r\n"
                                                      "The download was cut short: the table holds the %1 "
                                                      "entries that arrived,\r\n"
                                                      "not the Corvalen's whole phone list.")
                                           .arg(listing.entries.size())
                                     : kCommunicationError,
                            UserPrompt::Kind::Error);
        return Outcome::CommunicationError;
    }
    if (listing.skipped() > 0)
        ctx_.prompt.message(listing.skippedText(), UserPrompt::Kind::Warning);
    if (ctx_.recorder)
        ctx_.recorder->read(PanelContent::Kind::Directory, DirectoryBackupContent::files(listing.entries));
    return Outcome::Completed;
}

// Waits for the reply in steps of 86.4 ms until its "OK" line. Ends early
// after 41 silent steps in a row, and after 1501 steps in all. True when the
// reply ended with its "OK" line.
bool DirectoryTransfer::waitForDirectory()
{
    CommandExchange &link = ctx_.link;
    ReceiveState &rx = link.rx();
    link.clearReply();
    rx.LineEndCount = 0;
    int silence = 0;
    for (int step = 0; step < kDownloadSteps && !rx.ReplyOk; ++step) {
        link.PumpWait(100);
        if (rx.ReplyOk && !ReplyMemo::endsWithOkLine(rx.ReceiveBuffer))
            rx.ReplyOk = false; // a Name ending in "OK" at the end of a chunk
        if (rx.DataArrived) {
            silence = 0;
        } else if (++silence > kSilentStepsAllowed) {
            return false;
        }
        emit lineCountChanged(rx.LineEndCount);
        rx.DataArrived = false;
    }
    // False when the panel kept talking without ever ending its reply.
    return rx.ReplyOk;
}

// Replaces the table with the reply's entries in slot order. Only a whole
// reply marks the table as matching the panel: after a partial one, single
// writes would take slots for free that hold residents on the panel. A
// broken reply without a single entry leaves the table as it was rather
// than wiping it. True when the table was replaced.
bool DirectoryTransfer::rebuildTable(const DirectoryListing &listing, bool complete)
{
    PhoneDirectory &dir = ctx_.directory;
    Table &table = dir.PhoneTable;
    if (!complete && listing.entries.isEmpty()) {
        dir.TableLoading = false;
        return false;
    }
    {
        ScrollSyncPause pause(dir);
        dir.DefinePhoneFields();
        table.open();
        table.emptyTable();
        dir.SetupPhoneGrid();
        dir.allowPhoneFileSave();
        Table::ControlsPause controls(table);
        for (const PanelEntry &e : listing.entries) {
            // In field order: Name, RoomNumber, PHnumber, Code1, Code2, spare, RFID, Addr.
            table.appendRecord({e.Name, e.RoomNumber, e.PHnumber, e.Code1, e.Code2, e.Spare, QByteArray(),
                                e.SlotAddress});
        }
    }
    dir.TableLoading = false;
    table.first();
    ctx_.link.conn().DirectorySynced = complete;
    dir.setWriteEachChangeEnabled(complete);
    return true;
}

bool DirectoryTransfer::linkStillUp()
{
    return ctx_.link.conn().LoggedOn && ctx_.link.port().isOpen();
}
