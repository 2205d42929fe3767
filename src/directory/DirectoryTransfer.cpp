#include "directory/DirectoryTransfer.h"

#include "app/AppContext.h"
#include "directory/PhoneFields.h"
#include "directory/ScrollSyncPause.h"
#include "link/ReplyMemo.h"

namespace {

constexpr int kDownloadSteps = 1501;   // of 86.4 ms: about 130 s
constexpr int kSilentStepsAllowed = 40; // the 41st silent step in a row ends the wait

const QString kCommunicationError = QStringLiteral("communication error");

} // namespace

DirectoryTransfer::DirectoryTransfer(AppContext &ctx, QObject *parent)
    : QObject(parent)
    , ctx_(ctx)
{
}

QList<PanelEntry> DirectoryTransfer::replyEntries(const QByteArray &reply, bool complete)
{
    QByteArray text = reply;
    if (!complete) {
        // Only lines that arrived whole: the text after the last CR LF is cut.
        const qsizetype end = text.lastIndexOf("\r\n");
        text.truncate(end < 0 ? 0 : end + 2);
    }
    const QList<QByteArray> lines = ReplyMemo::splitLines(text);
    const qsizetype last = complete ? lines.size() - 1 : lines.size(); // the "OK" line is not an entry
    QList<PanelEntry> entries;
    for (qsizetype i = 1; i < last; ++i) {
        if (lines.at(i).isEmpty())
            continue;
        PanelEntry e = ParsePanelEntry(lines.at(i));
        if (!e.RoomNumber.isEmpty() && !e.Name.isEmpty())
            entries.append(std::move(e));
    }
    return entries;
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

    const bool complete = waitForDirectory();
    link.PumpWait(1000); // the tail of the reply
    emit progressVisibleChanged(false);
    link.RxMemo().setText(rx.ReceiveBuffer);
    rebuildTable(complete);

    endTransferFeedback();
    rx.EchoSuppressed = false;
    return complete ? Outcome::Completed : Outcome::CommunicationError;
}

// Waits for the reply in steps of 86.4 ms until its "OK" line. Ends early
// after 41 silent steps in a row, and after 1501 steps in all; both are
// reported as "communication error". True when the reply came whole.
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
            ctx_.prompt.message(kCommunicationError, UserPrompt::Kind::Error);
            return false;
        }
        emit lineCountChanged(rx.LineEndCount);
        rx.DataArrived = false;
    }
    if (rx.ReplyOk)
        return true;
    // The panel kept talking without ever ending its reply.
    ctx_.prompt.message(kCommunicationError, UserPrompt::Kind::Error);
    return false;
}

// Replaces the table with the reply's entries in slot order. Only a whole
// reply marks the table as matching the panel: after a partial one, single
// writes would take slots for free that hold residents on the panel. A
// broken reply without a single entry leaves the table as it was rather
// than wiping it.
void DirectoryTransfer::rebuildTable(bool complete)
{
    PhoneDirectory &dir = ctx_.directory;
    Table &table = dir.PhoneTable;
    const QList<PanelEntry> entries = replyEntries(ctx_.link.RxMemo().text(), complete);
    if (!complete && entries.isEmpty()) {
        dir.TableLoading = false;
        return;
    }
    {
        ScrollSyncPause pause(dir);
        dir.DefinePhoneFields();
        table.open();
        table.emptyTable();
        dir.SetupPhoneGrid();
        dir.allowPhoneFileSave();
        Table::ControlsPause controls(table);
        for (const PanelEntry &e : entries) {
            // In field order: Name, RoomNumber, PHnumber, Code1, Code2, spare, RFID, Addr.
            table.appendRecord({e.Name, e.RoomNumber, e.PHnumber, e.Code1, e.Code2, e.Spare, QByteArray(),
                                e.SlotAddress});
        }
    }
    dir.TableLoading = false;
    table.first();
    ctx_.link.conn().DirectorySynced = complete;
    dir.setWriteEachChangeEnabled(complete);
}

bool DirectoryTransfer::linkStillUp()
{
    return ctx_.link.conn().LoggedOn && ctx_.link.port().isOpen();
}
