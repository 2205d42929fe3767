#include "parameters/ParameterWrites.h"

#include "link/TransferContext.h"
#include "link/ContentRecorder.h"
#include "link/ErasePermission.h"
#include "parameters/ParameterBackupContent.h"
#include "link/RecordNumber.h"
#include "parameters/ParameterControls.h"
#include "parameters/ParameterLineBytes.h"
#include "parameters/ParameterRecordSet.h"
#include "parameters/ParameterRecords.h"
#include "parameters/RecordFields.h"
#include "parameters/SystemParameters.h"

namespace ParameterWrites {

namespace {

const char *phraseOf(int record)
{
    switch (record) {
    case 1: return "in writing the System Parameters";
    case 2: return "in writing fixed message 1 & 2";
    case 3: return "in writing Scroll message 1";
    case 4: return "in writing Scroll message 2";
    case 5: return "in writing message 1 & 2";
    case 6: return "in writing the Codes";
    case 7: return "in writing speed Dial 1 & 2";
    case 8: return "in writing speed Dial 3 & 4";
    case 9: return "in writing speed Dial 5 & 6";
    case 10: return "in writing speed Dial 7 & 8";
    }
    return "";
}

// refused, when given, collects the records the panel did not take.
void writeRecord(TransferContext &ctx, int record, const QByteArray &payload, QList<int> *refused)
{
    if (ctx.link.ProgramRecord(RecordNumber::fromInt(record), payload))
        return;
    if (refused)
        refused->append(record);
    ctx.prompt.message(writeErrorMessage(record), UserPrompt::Kind::Error);
}

// Encoding record 0001 for the comparison must not show its message yet;
// the write itself shows it.
class SilentPrompt : public UserPrompt
{
public:
    void message(const QString &, Kind) override {}
    bool ask(const QString &, Kind) override { return false; }
};


// The hourglass for as long as it lives, however the sequence ends.
class BusyCursor
{
public:
    explicit BusyCursor(TransferFeedback &feedback) : feedback_(feedback) { feedback_.setBusyCursor(true); }
    ~BusyCursor() { feedback_.setBusyCursor(false); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

private:
    TransferFeedback &feedback_;
};

// True, after telling the user, when one of the fields holds a CR, LF or NUL:
// then nothing is written.
bool refuseLineBytes(TransferContext &ctx, const ParameterControls &c, const QList<ParamEdit> &fields)
{
    const QString refusal = ParameterLineBytes::refusal(c, fields);
    if (refusal.isEmpty())
        return false;
    ctx.prompt.message(refusal, UserPrompt::Kind::Error);
    return true;
}

void readyAndUpLoad(TransferContext &ctx)
{
    ShowReady(ctx);
    upLoad(ctx);
}

} // namespace

ParameterRecordSet recordsToWrite(ParameterControls &c)
{
    ParameterRecordSet set;
    for (int r = 2; r <= 5; ++r)
        set.setRecord(r, ParameterRecords::EncodeMessages(c, r));
    set.setRecord(6, ParameterRecords::EncodeGateCodes(c));
    for (int r = 7; r <= 10; ++r)
        set.setRecord(r, ParameterRecords::EncodeSpeedDials(c, r));
    SilentPrompt silent;
    if (const std::optional<QByteArray> system = SystemParameters::EncodeSystemParameters(c, silent))
        set.setRecord(1, RecordFields::PadField(*system, 32, '?'));
    return set;
}

QString writeErrorMessage(int record)
{
    return UserPrompt::joinLines({QStringLiteral("There was an error"), QLatin1String(phraseOf(record))});
}

void WriteGateCodes(TransferContext &ctx, ParameterControls &c, QList<int> *refused)
{
    writeRecord(ctx, 6, ParameterRecords::EncodeGateCodes(c), refused);
}

void WriteMessages(TransferContext &ctx, ParameterControls &c, QList<int> *refused)
{
    for (int record = 2; record <= 5; ++record)
        writeRecord(ctx, record, ParameterRecords::EncodeMessages(c, record), refused);
}

void WriteSpeedDials(TransferContext &ctx, ParameterControls &c, QList<int> *refused)
{
    for (int record = 7; record <= 10; ++record)
        writeRecord(ctx, record, ParameterRecords::EncodeSpeedDials(c, record), refused);
}

bool WriteSystemParameters(TransferContext &ctx, ParameterControls &c, QList<int> *refused)
{
    const std::optional<QByteArray> payload = SystemParameters::EncodeSystemParameters(c, ctx.prompt);
    if (!payload)
        return false;
    writeRecord(ctx, 1, RecordFields::PadField(*payload, 32, '?'), refused);
    return true;
}

void ShowReady(TransferContext &ctx)
{
    ctx.status.setCommandText(QStringLiteral("Ready"));
}

void upLoad(TransferContext &ctx)
{
    ctx.link.PumpWait(200);
    ctx.link.SendCommand("u\r");
}

void WritePara1Click(TransferContext &ctx, ParameterControls &c)
{
    ExchangeGuard::Scope scope(ctx.guard);
    if (!scope)
        return;
    if (WriteSystemParameters(ctx, c))
        readyAndUpLoad(ctx);
}

void WriteCodeClick(TransferContext &ctx, ParameterControls &c)
{
    ExchangeGuard::Scope scope(ctx.guard);
    if (!scope)
        return;
    WriteGateCodes(ctx, c);
    readyAndUpLoad(ctx);
}

void WriteSpdClick(TransferContext &ctx, ParameterControls &c)
{
    ExchangeGuard::Scope scope(ctx.guard);
    if (!scope)
        return;
    WriteSpeedDials(ctx, c);
    readyAndUpLoad(ctx);
}

void SaveParamClick(TransferContext &ctx, ParameterControls &c)
{
    ExchangeGuard::Scope scope(ctx.guard);
    if (!scope || refuseLineBytes(ctx, c, ParameterLineBytes::kMessages))
        return;
    WriteMessages(ctx, c);
    readyAndUpLoad(ctx);
}

void WriteAllClick(TransferContext &ctx, ParameterControls &c)
{
    writeAll(ctx, c);
}

WriteAllResult writeAll(TransferContext &ctx, ParameterControls &c)
{
    using Outcome = WriteAllResult::Outcome;
    WriteAllResult result;
    // Every field is checked before the first record goes.
    ExchangeGuard::Scope scope(ctx.guard);
    if (!scope)
        return result;
    if (refuseLineBytes(ctx, c, ParameterLineBytes::kMessages)) {
        result.outcome = Outcome::BadText;
        return result;
    }
    // Record 0001 is written last but built first: an edit that is not a
    // whole number stops Write All here, with its message, before anything
    // is sent; the records that would go before it are not written either.
    const std::optional<QByteArray> system = SystemParameters::EncodeSystemParameters(c, ctx.prompt);
    if (!system) {
        result.outcome = Outcome::BadNumber;
        return result;
    }
    QList<std::pair<int, QByteArray>> records{{6, ParameterRecords::EncodeGateCodes(c)}};
    for (int record = 2; record <= 5; ++record)
        records.append({record, ParameterRecords::EncodeMessages(c, record)});
    for (int record = 7; record <= 10; ++record)
        records.append({record, ParameterRecords::EncodeSpeedDials(c, record)});
    records.append({1, RecordFields::PadField(*system, 32, '?')});

    // With a backups folder, what the panel holds is kept first and the
    // question shows what Write All changes.
    ErasePermission::KeptHandle backup;
    if (ctx.erase) {
        UserPrompt::Question question;
        question.text = kWriteAllQuestion;
        const ErasePermission::Answer answer =
            ctx.erase->mayErase(ctx, ParameterBackupContent(recordsToWrite(c)), question);
        if (!answer.proceed) {
            result.outcome = Outcome::Declined;
            return result;
        }
        backup = answer.kept;
    } else if (!ctx.prompt.ask(kWriteAllQuestion)) {
        result.outcome = Outcome::Declined;
        return result;
    }
    // A connection that ends during the writes (a log-off, a lost line)
    // stops them after the record being written.
    const bool online = ctx.link.conn().LoggedOn;
    int written = 0;
    ParameterRecordSet sent;
    {
        BusyCursor busy(ctx.feedback);
        for (const auto &[record, payload] : std::as_const(records)) {
            if (online && !ctx.link.conn().LoggedOn)
                break;
            writeRecord(ctx, record, payload, &result.refused);
            sent.setRecord(record, payload);
            ++written;
        }
    }
    const bool unfinished = written < records.size();
    if (unfinished)
        ctx.prompt.message(QStringLiteral("Write All did not finish,\r\n%1 of %2 records written.")
                               .arg(written)
                               .arg(records.size()),
                           UserPrompt::Kind::Error);
    else
        readyAndUpLoad(ctx);
    if ((unfinished || !result.refused.isEmpty()) && ctx.erase)
        ctx.erase->offerRestore(ctx, backup, QStringLiteral("parameters"), unfinished);
    if (unfinished)
        result.outcome = Outcome::Unfinished;
    else
        result.outcome = result.refused.isEmpty() ? Outcome::Completed : Outcome::SomeRefused;
    result.written = written;
    if (ctx.recorder) {
        ContentRecorder::WriteOutcome outcome;
        outcome.total = int(records.size());
        outcome.refused = int(result.refused.size());
        outcome.written = written - outcome.refused;
        outcome.cutShort = unfinished;
        for (int record : std::as_const(result.refused))
            outcome.refusedItems << QStringLiteral("record %1").arg(QString::fromLatin1(RecordNumber::fromInt(record)));
        ctx.recorder->written(PanelContent::Kind::Parameters, ParameterBackupContent::files(sent), outcome);
    }
    return result;
}

void UpLoadClick(TransferContext &ctx)
{
    ExchangeGuard::Scope scope(ctx.guard);
    if (!scope)
        return;
    upLoad(ctx);
}

bool updatePin(TransferContext &ctx, ParameterControls &c)
{
    ExchangeGuard::Scope scope(ctx.guard);
    if (!scope || refuseLineBytes(ctx, c, {ParamEdit::NewPin}))
        return false;
    if (ctx.link.ProgramRecord("0000", ParameterRecords::EncodePin(c))) {
        ctx.prompt.message(QStringLiteral("NEW PIN Programmed"), UserPrompt::Kind::Information);
        return true;
    }
    ctx.prompt.message(QStringLiteral("ERROR in Programming PIN"), UserPrompt::Kind::Error);
    return false;
}

void UpDatePINClick(TransferContext &ctx, ParameterControls &c)
{
    updatePin(ctx, c);
}

} // namespace ParameterWrites
