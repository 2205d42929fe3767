// The upload of DirectoryTransfer: WriteDataClick and its steps (the
// download and what both share are in DirectoryTransfer.cpp).
#include "directory/DirectoryTransfer.h"

#include "directory/DirectoryContext.h"
#include "directory/DirectoryBackupContent.h"
#include "directory/DirectoryComparison.h"
#include "link/ErasePermission.h"
#include "directory/DirectorySlots.h"
#include "directory/EntryText.h"
#include "directory/EntryWrite.h"
#include "directory/EntryWriteCheck.h"
#include "directory/PhoneFields.h"
#include "link/ContentRecorder.h"
#include "link/LineSilence.h"

namespace {

constexpr int kErrorsBeforeStop = 21;
// Write attempts in a row without a byte back (a block write, then two of
// its retries: some 8 s) that mean the line is lost.
constexpr int kSilentAttemptsForLoss = 3;

// For the upload's whole run: the RFID page's buttons and the directory's
// OK keep off the table (TableLoading), the edit fields are not refilled
// while the table is walked; at the end the cursor goes to the first entry
// so that the fields show the entry the cursor is on.
class UploadScope
{
public:
    explicit UploadScope(PhoneDirectory &dir)
        : dir_(dir)
    {
        dir_.TableLoading = true;
        dir_.ScrollSyncOn = false;
    }
    ~UploadScope()
    {
        dir_.TableLoading = false;
        dir_.ScrollSyncOn = true;
        dir_.PhoneTable.first();
    }

private:
    PhoneDirectory &dir_;
};

} // namespace

DirectoryTransfer::Outcome DirectoryTransfer::WriteDataClick()
{
    ExchangeGuard::Scope scope(ctx_.guard);
    if (!scope)
        return Outcome::Busy;
    written_ = 0;
    errors_ = 0;
    CommandExchange &link = ctx_.link;
    PhoneDirectory &dir = ctx_.directory;
    Table &table = dir.PhoneTable;

    if (!WriteDataChecks())
        return Outcome::NotStarted;
    ErasePermission::KeptHandle backup;
    if (!askToReplace(&backup))
        return Outcome::NotStarted;

    UploadScope upload(dir);
    ctx_.status.setStatusText(QStringLiteral("Sorting"));
    link.PumpWait(50);
    table.sortOn(PhoneFields::Name, Qt::CaseSensitive);
    table.first();
    {
        Table::ControlsPause controls(table);
        ctx_.status.setStatusText(QStringLiteral("Sorting Addresses"));
        link.PumpWait(50);
        if (table.count() == 0)
            return Outcome::NothingToWrite; // nothing goes to the panel, not even the erase
        if (!assignSlots()) {
            ctx_.prompt.message(QStringLiteral("Failed to Sort List\r\nor phone list to large"));
            return Outcome::NotStarted;
        }
    }

    beginTransferFeedback();
    ctx_.feedback.setBusyCursor(false); // the hourglass comes with the rewrite
    ctx_.status.setStatusText(QStringLiteral("Erasing Current phone List"));
    if (!erasePanelDirectory()) {
        // The panel did not take the erase: there is nothing to put back.
        endTransferFeedback();
        ctx_.prompt.message(QStringLiteral("Could not clear All,\r\nSave your files and\r\nRecheck connection"),
                            UserPrompt::Kind::Error);
        return Outcome::EraseFailed; // the entries keep their new slots
    }

    ctx_.status.setStatusText(QStringLiteral("Rewriting Phone List"));
    emit gridEnabledChanged(false);
    ctx_.feedback.setBusyCursor(true);
    Rewrite done;
    {
        Table::ControlsPause controls(table);
        done = rewritePanel();
    }
    ctx_.feedback.hideTransferWindow();
    const Outcome outcome = reportRewrite(done, backup);
    recordRewrite(done, outcome);

    ctx_.feedback.setBusyCursor(false);
    ctx_.feedback.stopLampBlink();
    ctx_.feedback.startKeepAlive();
    ctx_.feedback.setLedImage(link.conn().LoggedOn ? 21 : 22);
    emit gridEnabledChanged(true);
    // Only a rewrite that put every entry on the panel leaves the table
    // standing for the panel's directory.
    const bool matches = outcome == Outcome::Completed && linkStillUp();
    link.conn().DirectorySynced = matches;
    dir.setWriteEachChangeEnabled(matches);
    written_ = done.written;
    errors_ = done.errors;
    return outcome;
}

// The limit of the model and the entries' texts: the checks that can stop
// an upload before anything is asked or read from the panel, with their
// messages.
bool DirectoryTransfer::WriteDataChecks()
{
    Table &table = ctx_.directory.PhoneTable;
    table.refresh();
    const int limit = DirectorySlots::uploadLimit(ctx_.link.conn().DirectoryEnd);
    if (table.count() > limit) {
        ctx_.prompt.message(QStringLiteral("There are to many records to store\r\nto this Corvalen version.\r\n")
                            + QString::number(limit) + QStringLiteral(" is the limit."));
        return false;
    }
    return entriesFitTheLine();
}

// The replace question. With a backups folder, what the panel holds is kept
// first and the question shows what the upload changes; but only an upload
// that will erase the panel's directory (a table with entries, every one of
// which gets a slot) reads it: an empty table sends nothing at all.
bool DirectoryTransfer::askToReplace(ErasePermission::KeptHandle *backup)
{
    const Table &table = ctx_.directory.PhoneTable;
    UserPrompt::Question question;
    question.text = QStringLiteral("This will replace ALL numbers currently\r\nstored in the Corvalen, Continue?");
    question.kind = UserPrompt::Kind::Information;
    const bool erases =
        table.count() > 0 && table.count() <= DirectorySlots::slotCount(ctx_.link.conn().DirectoryEnd);
    if (!ctx_.erase || !erases)
        return ctx_.prompt.ask(question.text, question.kind);
    const ErasePermission::Answer answer =
        ctx_.erase->mayErase(ctx_, DirectoryBackupContent(DirectoryComparison::tableEntries(table)), question);
    *backup = answer.kept;
    return answer.proceed;
}

// What the rewrite left, told: a rewrite cut short by a log-off, a dropped
// line or a panel that stopped answering says how far it got; refused
// entries are counted. Either way the panel's directory differs from the
// table, and the backup taken before is offered (or named, when the restore
// cannot run now). Only a whole rewrite says "Done".
DirectoryTransfer::Outcome DirectoryTransfer::reportRewrite(const Rewrite &done,
                                                            const ErasePermission::KeptHandle &backup)
{
    const int total = ctx_.directory.PhoneTable.count();
    const bool linkUp = linkStillUp();
    const bool cutShort = (done.lineLost || !linkUp) && done.written < total;
    // A dropped line or a log-off speaks for itself; a line still open that
    // carries nothing back is said to be so.
    const bool silent = done.lineLost && linkUp;
    if (cutShort)
        ctx_.prompt.message((silent ? LineSilence::lostText() + QStringLiteral("\r\n") : QString())
                                + QStringLiteral("Upload did not finish,\r\n%1 of %2 entries written.\r\n"
                                                 "The Corvalen phone list is incomplete.")
                                      .arg(done.written)
                                      .arg(total),
                            UserPrompt::Kind::Error);
    else if (done.errors != 0)
        ctx_.prompt.message(QStringLiteral("There was %1 error(s)").arg(done.errors), UserPrompt::Kind::Error);
    if ((cutShort || done.errors != 0) && ctx_.erase)
        ctx_.erase->offerRestore(ctx_, backup, QStringLiteral("phone list"), done.lineLost);
    if (cutShort)
        return Outcome::Unfinished;
    if (done.errors != 0)
        return Outcome::SomeRefused;
    ctx_.status.setStatusText(QStringLiteral("Done"));
    return Outcome::Completed;
}

// What the rewrite sent and how it ended, for the records: the entries as
// the panel will list them at the slots they went to.
void DirectoryTransfer::recordRewrite(const Rewrite &done, Outcome outcome)
{
    if (!ctx_.recorder)
        return;
    ContentRecorder::WriteOutcome result;
    result.written = done.written;
    result.total = ctx_.directory.PhoneTable.count();
    result.refused = done.errors;
    result.cutShort = outcome == Outcome::Unfinished;
    ctx_.recorder->written(PanelContent::Kind::Directory, DirectoryBackupContent::files(done.sent), result);
}

// Every entry is looked at before anything goes to the panel: one that
// cannot travel on the line refuses the whole upload, so that the panel's
// directory is not erased for a rewrite that cannot be done. The cursor goes
// to that entry, so that the fields show it.
bool DirectoryTransfer::entriesFitTheLine()
{
    Table &table = ctx_.directory.PhoneTable;
    for (int row = 0; row < table.count(); ++row) {
        const QString refused = EntryWriteCheck::refusal(EntryWriteCheck::storedFields(table, row));
        if (refused.isEmpty())
            continue;
        table.moveTo(row);
        ctx_.prompt.message(refused + QStringLiteral("\r\nNothing was written to the Corvalen."),
                            UserPrompt::Kind::Error);
        return false;
    }
    return true;
}

// Fresh consecutive slots in table order from 1000 (hex). False when the
// slots end before the table does.
bool DirectoryTransfer::assignSlots()
{
    Table &table = ctx_.directory.PhoneTable;
    const qint32 end = ctx_.link.conn().DirectoryEnd;
    qint32 address = DirectorySlots::kFirst;
    for (table.first(); !table.eof(); table.next()) {
        if (address > end)
            return false;
        table.setField(PhoneFields::Addr, DirectorySlots::text(address));
        table.post();
        address += DirectorySlots::kStep;
    }
    return true;
}

// "f5a" after a bare CR, two attempts of up to 4.32 s each.
bool DirectoryTransfer::erasePanelDirectory()
{
    CommandExchange &link = ctx_.link;
    for (int attempt = 0; attempt < 2; ++attempt) {
        link.SendCommand("\r");
        link.PumpWait(300);
        link.SendCommand("f5a\r");
        link.rx().DataArrived = false;
        link.clearReply();
        if (link.waitForReply(100, 50))
            return true;
    }
    return false;
}

// The current entry's text for the panel; a room that is not a number is
// written as "0" (with the message), as OK would have stored it.
QByteArray DirectoryTransfer::uploadText()
{
    const Table &table = ctx_.directory.PhoneTable;
    QByteArray room = table.field(PhoneFields::RoomNumber);
    if (!room.isEmpty())
        room = NumericOrZero(room, ctx_.prompt);
    return PanelEntryText(room, table.field(PhoneFields::Code1), table.field(PhoneFields::Code2),
                          table.field(PhoneFields::Spare), table.field(PhoneFields::PHnumber),
                          table.field(PhoneFields::Name));
}

// Writes every entry to its slot in table order; stops early when the link
// is logged off, the panel stopped answering or 21 entries were refused.
DirectoryTransfer::Rewrite DirectoryTransfer::rewritePanel()
{
    Table &table = ctx_.directory.PhoneTable;
    LineSilence silence(ctx_.link.rx(), kSilentAttemptsForLoss);
    const auto trace = [this] { ctx_.directory.appendEdit3(QStringLiteral("f")); };
    Rewrite done;
    for (table.first(); !table.eof();) {
        const QByteArray text = uploadText();
        PanelEntry sent = ParsePanelEntry("0000," + text);
        sent.SlotAddress = table.field(PhoneFields::Addr);
        done.sent << sent;
        switch (EntryWrite::write(ctx_.link, table.field(PhoneFields::Addr), text, silence, trace)) {
        case EntryWrite::Result::Written: ++done.written; break;
        case EntryWrite::Result::Refused: ++done.errors; break;
        case EntryWrite::Result::LineLost: done.lineLost = true; break;
        }
        table.next();
        if (done.lineLost || !linkStillUp() || done.errors >= kErrorsBeforeStop)
            break;
    }
    return done;
}
