#include "rfid/RfidWriteAll.h"

#include "link/ContentRecorder.h"
#include "link/ErasePermission.h"
#include "rfid/TagStoreContent.h"
#include "directory/PhoneFields.h"
#include "link/LineSilence.h"
#include "link/RecordNumber.h"
#include "rfid/StoreCodec.h"
#include "rfid/StoreEntryCheck.h"
#include "rfid/StoreExchange.h"

namespace {
constexpr int kLedOnline = 21;
constexpr int kStoreTries = 3;
constexpr int kProgramTries = 2;
// Store or program tries in a row without a byte back (some 3 s) that mean
// the line is lost.
constexpr int kSilentTriesForLoss = 3;

const QString kBadFormat = QStringLiteral("Note, the current record has\r\n"
                                          "incorrect RFID data format.\r\n"
                                          "rescan or erase the code.");
const QString kCommunicationError = QStringLiteral("communication error");
const QString kLimit = QStringLiteral("NB could not save all codes\r\n"
                                      "Maximum is 512 RF-ID's.");
const QString kFailed = QStringLiteral("there was an error saving the codes,\r\n"
                                       "Please try again");
} // namespace

RfidWriteAll::RfidWriteAll(DirectoryContext &ctx)
    : ctx_(ctx)
{
}

int RfidWriteAll::firstBadCode() const
{
    const Table &table = ctx_.directory.PhoneTable;
    const int rfid = table.fieldIndex(PhoneFields::Rfid);
    for (int row = 0; row < table.count(); ++row) {
        const QByteArray code = table.value(row, rfid);
        if (!code.isEmpty() && code.size() != StoreCodec::kCodeWidth)
            return row;
    }
    return -1;
}

RfidWriteAll::Outcome RfidWriteAll::writeall_idClick()
{
    ExchangeGuard::Scope scope(ctx_.guard);
    if (!scope)
        return Outcome::Busy;

    CommandExchange &link = ctx_.link;
    PhoneDirectory &directory = ctx_.directory;
    TransferFeedback &feedback = ctx_.feedback;
    failures_ = 0;

    const int bad = firstBadCode();
    if (bad >= 0) {
        directory.PhoneTable.moveTo(bad);
        ctx_.prompt.message(kBadFormat);
        return Outcome::BadCode;
    }
    if (const auto problem = StoreEntryCheck::firstUnsendable(directory.PhoneTable)) {
        directory.PhoneTable.moveTo(problem->row);
        const Table &table = directory.PhoneTable;
        ctx_.prompt.message(StoreEntryCheck::message(*problem, table.field(PhoneFields::Name),
                                                     table.field(PhoneFields::RoomNumber)),
                            UserPrompt::Kind::Error);
        return Outcome::UnsendableEntry;
    }

    // With a backups folder, the store is kept first and the user sees
    // which tags the write adds and removes before anything is erased.
    ErasePermission::KeptHandle backup;
    if (ctx_.erase) {
        UserPrompt::Question question;
        question.text = QStringLiteral("This will replace ALL RFID codes currently\r\nstored in the Corvalen, Continue?");
        const ErasePermission::Answer answer = ctx_.erase->mayErase(ctx_, TagStoreContent(tagsToWrite()), question);
        if (!answer.proceed)
            return Outcome::Declined;
        backup = answer.kept;
    }

    link.rx().EchoSuppressed = true;
    directory.TableLoading = true;
    link.rx().ReceiveBuffer.clear();
    link.PumpWait(10);
    link.SendCommand("c1418\r");
    link.RxMemo().clear();
    link.clearReply();
    feedback.showTransferWindow();
    feedback.setBusyCursor(true);
    feedback.startLampBlink();
    feedback.stopKeepAlive();
    link.rx().LineEndCount = 0;

    sent_ = StoreImage();
    sentRecords_ = 0;
    const Outcome outcome = writeRecords();

    directory.TableLoading = false;
    feedback.hideTransferWindow();
    feedback.setBusyCursor(false);
    feedback.stopLampBlink();
    feedback.startKeepAlive();
    feedback.setLedImage(kLedOnline);
    link.rx().EchoSuppressed = false;
    // Without an "OK" to the erase the store was not changed: nothing to put
    // back. Once it was, a write that did not end well offers the backup.
    if ((outcome == Outcome::SomeFailed || outcome == Outcome::LineLost || outcome == Outcome::Unfinished)
        && ctx_.erase)
        ctx_.erase->offerRestore(ctx_, backup, QStringLiteral("RFID codes"), outcome != Outcome::SomeFailed);
    recordWrite(outcome);
    return outcome;
}

// What the write sent and how it ended, for the records. A write that never
// erased the store (no "OK" to the erase) changed nothing and is not one.
void RfidWriteAll::recordWrite(Outcome outcome)
{
    if (!ctx_.recorder || outcome == Outcome::CommunicationError)
        return;
    const int needed = (int(tagsToWrite().size()) + StoreCodec::kEntriesPerRecord - 1) / StoreCodec::kEntriesPerRecord;
    ContentRecorder::WriteOutcome result;
    result.total = qMin(needed, StoreCodec::kLastRecord - StoreCodec::kFirstRecord + 1);
    result.refused = failures_;
    result.cutShort = outcome == Outcome::Unfinished || outcome == Outcome::LineLost;
    result.written = qMax(0, sentRecords_ - failures_);
    ctx_.recorder->written(PanelContent::Kind::Tags, TagStoreContent::files(sent_), result);
}

// The tags Write All writes, as the panel will list them.
QList<StoreCodec::Entry> RfidWriteAll::tagsToWrite() const
{
    const Table &table = ctx_.directory.PhoneTable;
    const QByteArray prefix(StoreCodec::kReplyPrefix, ' ');
    QList<StoreCodec::Entry> out;
    for (int row = 0; row < table.count(); ++row) {
        const QByteArray room = table.value(row, QByteArray(PhoneFields::RoomNumber));
        const QByteArray code = table.value(row, QByteArray(PhoneFields::Rfid));
        if (room.isEmpty() || code.isEmpty())
            continue;
        const QList<StoreCodec::Entry> packed = StoreCodec::entries(prefix + StoreCodec::packEntry(room, code));
        if (!packed.isEmpty())
            out.append(packed.first());
    }
    return out;
}

RfidWriteAll::Outcome RfidWriteAll::writeRecords()
{
    CommandExchange &link = ctx_.link;
    Table &table = ctx_.directory.PhoneTable;
    if (!link.waitForReply(100, 50)) {
        ctx_.prompt.message(kCommunicationError, UserPrompt::Kind::Error);
        return Outcome::CommunicationError;
    }

    link.PumpWait(500);
    table.first();
    LineSilence silence(link.rx(), kSilentTriesForLoss);
    int recordNumber = StoreCodec::kFirstRecord;
    int row = 0;
    // A connection that ends during the write (a log-off, a lost line)
    // stops it after the record being written.
    const bool online = link.conn().LoggedOn;
    int written = 0;
    while (row < table.count()) {
        if (online && !link.conn().LoggedOn && codesRemain(row)) {
            const QString done = recordNumber > StoreCodec::kFirstRecord
                                        ? QStringLiteral("records %1 to %2 written.")
                                              .arg(StoreCodec::kFirstRecord)
                                              .arg(recordNumber - 1)
                                        : QStringLiteral("no record written.");
            ctx_.prompt.message(QStringLiteral("Write All did not finish,\r\n") + done, UserPrompt::Kind::Error);
            return Outcome::Unfinished;
        }
        const QByteArray text = collectRecord(row);
        if (!text.isEmpty()) {
            const QByteArray record = RecordNumber::fromInt(recordNumber);
            const QByteArray padded = StoreCodec::padRecord(text);
            const bool stored = storeRecord(record, padded, silence);
            sent_.setRecord(recordNumber, padded);
            ++sentRecords_;
            link.PumpWait(20);
            bool failed = false;
            if (silence.lost()) {
                failed = true;
            } else if (link.rx().ReplyOk) {
                // The first acknowledged record brings the echo back for good.
                link.rx().EchoSuppressed = false;
                failed = !link.ReadCompare(record, padded) && !programRecord(record, padded, silence);
            } else {
                // Nothing answered at all: the record is not in the panel.
                failed = !stored;
            }
            failures_ += failed ? 1 : 0;
            written += failed ? 0 : 1;
            if (silence.lost()) {
                ctx_.prompt.message(LineSilence::lostText()
                                        + QStringLiteral("\r\nWrite All did not finish: %1 record(s) of RFID "
                                                         "codes written.")
                                              .arg(written),
                                    UserPrompt::Kind::Error);
                return Outcome::LineLost;
            }
        }
        ++recordNumber;
        if (recordNumber > StoreCodec::kLastRecord) {
            if (codesRemain(row)) {
                ctx_.prompt.message(kLimit);
                return Outcome::LimitReached;
            }
            break;
        }
    }

    if (failures_ > 0) {
        ctx_.prompt.message(kFailed);
        return Outcome::SomeFailed;
    }
    return Outcome::Completed;
}

QByteArray RfidWriteAll::collectRecord(int &row)
{
    Table &table = ctx_.directory.PhoneTable;
    const int roomField = table.fieldIndex(PhoneFields::RoomNumber);
    const int rfidField = table.fieldIndex(PhoneFields::Rfid);
    QByteArray text;
    int taken = 0;
    while (row < table.count() && taken < StoreCodec::kEntriesPerRecord) {
        table.moveTo(row);
        const QByteArray room = table.value(row, roomField);
        const QByteArray code = table.value(row, rfidField);
        ++row;
        if (room.isEmpty() || code.isEmpty())
            continue;
        text.append(StoreCodec::packEntry(room, code));
        ++taken;
    }
    return text;
}

bool RfidWriteAll::codesRemain(int row) const
{
    const Table &table = ctx_.directory.PhoneTable;
    const int roomField = table.fieldIndex(PhoneFields::RoomNumber);
    const int rfidField = table.fieldIndex(PhoneFields::Rfid);
    for (; row < table.count(); ++row)
        if (!table.value(row, roomField).isEmpty() && !table.value(row, rfidField).isEmpty())
            return true;
    return false;
}

bool RfidWriteAll::storeRecord(const QByteArray &record, const QByteArray &text, LineSilence &silence)
{
    CommandExchange &link = ctx_.link;
    for (int attempt = 0; attempt < kStoreTries; ++attempt) {
        silence.begin();
        link.RxMemo().clear();
        link.PumpWait(20);
        link.SendCommand("g" + record + text + "\r");
        const bool ok = StoreExchange::WaitStoreReply(link);
        const bool refused = link.state().LastReplyLine == "Error";
        if (ok && !refused) {
            silence.end();
            return true;
        }
        if (refused) {
            silence.end();
            continue;
        }
        const bool blank = StoreExchange::IsStoreRecordBlank(link, record);
        if (silence.end())
            return false; // not a word back to "g" nor to its read-back
        if (!blank)
            return true;
    }
    return false;
}

bool RfidWriteAll::programRecord(const QByteArray &record, const QByteArray &text, LineSilence &silence)
{
    CommandExchange &link = ctx_.link;
    for (int attempt = 0; attempt < kProgramTries; ++attempt) {
        silence.begin();
        link.PumpWait(200);
        // The memo still holds the read-back and its "OK": the answer to
        // "p" must be read from a memo of its own.
        link.RxMemo().clear();
        link.SendCommand("p" + record + text + "\r");
        StoreExchange::WaitStoreReply(link);
        // Refused, with or without an "OK" after the "Error".
        if (link.state().LastReplyLine == "Error" || link.RxMemo().line(0) == "Error") {
            silence.end();
            continue;
        }
        // Accepted, or no answer at all: the record counts as programmed
        // only when it reads back as meant.
        const bool same = link.ReadCompare(record, text);
        if (silence.end())
            return false;
        if (same)
            return true;
    }
    return false;
}
