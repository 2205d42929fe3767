// The upload of DirectoryTransfer: WriteDataClick and its steps (the
// download and what both share are in DirectoryTransfer.cpp).
#include "directory/DirectoryTransfer.h"

#include "app/AppContext.h"
#include "backup/DirectoryComparison.h"
#include "backup/PanelBackups.h"
#include "directory/DirectorySlots.h"
#include "directory/EntryText.h"
#include "directory/EntryWriteCheck.h"
#include "directory/PhoneFields.h"

namespace {

constexpr int kErrorsBeforeStop = 21;

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

    table.refresh();
    const int limit = DirectorySlots::uploadLimit(link.conn().DirectoryEnd);
    if (table.count() > limit) {
        ctx_.prompt.message(QStringLiteral("There are to many records to store\r\nto this Corvalen version.\r\n")
                            + QString::number(limit) + QStringLiteral(" is the limit."));
        return Outcome::NotStarted;
    }
    if (!entriesFitTheLine())
        return Outcome::NotStarted;
    UserPrompt::Question question;
    question.text = QStringLiteral("This will replace ALL numbers currently\r\nstored in the Corvalen, Continue?");
    question.kind = UserPrompt::Kind::Information;
    // With a backups folder, what the panel holds is kept first and the
    // question shows what the upload changes.
    std::optional<BackupEntry> backup;
    if (ctx_.backups) {
        const PanelBackups::Gate gate =
            ctx_.backups->beforeDirectoryWrite(ctx_, DirectoryComparison::tableEntries(table), question);
        if (!gate.proceed)
            return Outcome::NotStarted;
        backup = gate.backup;
    } else if (!ctx_.prompt.ask(question.text, question.kind)) {
        return Outcome::NotStarted;
    }

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
        endTransferFeedback();
        ctx_.prompt.message(QStringLiteral("Could not clear All,\r\nSave your files and\r\nRecheck connection"),
                            UserPrompt::Kind::Error);
        if (ctx_.backups)
            ctx_.backups->offerRestore(ctx_.prompt, backup, QStringLiteral("phone list"));
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

    // A log-off or a dropped line ends the rewrite early: the panel's
    // directory then holds only the entries written before, and the table
    // no longer stands for it.
    const bool linkUp = linkStillUp();
    const bool unfinished = !linkUp && done.written < table.count();
    if (unfinished)
        ctx_.prompt.message(QStringLiteral("Upload did not finish,\r\n%1 of %2 entries written.\r\n"
                                           "The Corvalen phone list is incomplete.")
                                .arg(done.written)
                                .arg(table.count()),
                            UserPrompt::Kind::Error);
    else if (done.errors != 0)
        ctx_.prompt.message(QStringLiteral("There was %1 error(s)").arg(done.errors), UserPrompt::Kind::Error);
    if ((unfinished || done.errors != 0) && ctx_.backups)
        ctx_.backups->offerRestore(ctx_.prompt, backup, QStringLiteral("phone list"));

    if (!unfinished)
        ctx_.status.setStatusText(QStringLiteral("Done"));
    ctx_.feedback.setBusyCursor(false);
    ctx_.feedback.stopLampBlink();
    ctx_.feedback.startKeepAlive();
    ctx_.feedback.setLedImage(link.conn().LoggedOn ? 21 : 22);
    emit gridEnabledChanged(true);
    link.conn().DirectorySynced = linkUp;
    dir.setWriteEachChangeEnabled(linkUp);
    written_ = done.written;
    errors_ = done.errors;
    if (unfinished)
        return Outcome::Unfinished;
    return done.errors != 0 ? Outcome::SomeRefused : Outcome::Completed;
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

// WriteBlock, then up to three WriteRecord retries each after a bare CR; a
// failed retry leaves an "f" in Edit3.
bool DirectoryTransfer::writeEntry(const QByteArray &slot, const QByteArray &text)
{
    CommandExchange &link = ctx_.link;
    if (link.WriteBlock(slot, text))
        return true;
    for (int retry = 0; retry < 3; ++retry) {
        link.PumpWait(40);
        link.SendCommand("\r");
        link.PumpWait(40);
        if (link.WriteRecord(slot, text))
            return true;
        ctx_.directory.appendEdit3(QStringLiteral("f"));
        link.PumpWait(100);
    }
    return false;
}

// Writes every entry to its slot in table order; stops early when the link
// is logged off or 21 entries were refused.
DirectoryTransfer::Rewrite DirectoryTransfer::rewritePanel()
{
    Table &table = ctx_.directory.PhoneTable;
    Rewrite done;
    for (table.first(); !table.eof();) {
        const QByteArray text = uploadText();
        if (writeEntry(table.field(PhoneFields::Addr), text))
            ++done.written;
        else
            ++done.errors;
        table.next();
        if (!linkStillUp() || done.errors >= kErrorsBeforeStop)
            break;
    }
    return done;
}
