#include "parameters/ParameterReads.h"

#include "link/ContentRecorder.h"
#include "link/TransferContext.h"
#include "parameters/ParameterBackupContent.h"
#include "parameters/ParameterControls.h"
#include "parameters/ParameterFile.h"
#include "parameters/ParameterRecords.h"
#include "parameters/ParameterWrites.h"
#include "parameters/RecordFields.h"
#include "parameters/SystemParameters.h"

namespace ParameterReads {

namespace {

// A record's characters in a reply line follow its five leading characters.
QByteArray payloadOf(const QByteArray &line)
{
    return line.mid(5);
}

// A reply is whole when the line after its record lines is the panel's "OK".
bool replyWhole(TransferContext &ctx, int recordLines)
{
    return ctx.link.RxMemo().line(recordLines) == "OK";
}

// The fixed wait of a read: its reply is looked at only once it is over.
void waitOutReply(TransferContext &ctx, qint32 ticks)
{
    ctx.link.PumpWait(ticks);
}

void finishWithCapture(ParameterControls &c)
{
    ParameterFile::CaptureParameterFile(c);
    c.offerSaveAs();
}

} // namespace

bool readSystemParameters(TransferContext &ctx, ParameterControls &c)
{
    ctx.link.RxMemo().clear();
    ctx.link.rx().ReceiveBuffer.clear();
    ctx.feedback.showTransferWindow();
    ctx.link.SendCommand("r0001\r");
    waitOutReply(ctx, 1000);

    const bool whole = replyWhole(ctx, 1);
    const QByteArray slice = RecordFields::slice(ctx.link.RxMemo().line(0), 6, 53);
    const bool decoded = SystemParameters::DecodeSystemParameters(c, RecordFields::CleanReplyField(slice), ctx.prompt);

    ctx.feedback.hideTransferWindow();
    finishWithCapture(c);
    return whole && decoded;
}

bool readGateCodes(TransferContext &ctx, ParameterControls &c)
{
    ctx.feedback.setBusyCursor(true);
    ctx.feedback.showTransferWindow();
    ctx.link.rx().ReceiveBuffer.clear();
    ctx.link.RxMemo().clear();
    ctx.link.SendCommand("r0006\r");
    waitOutReply(ctx, 500);

    const bool whole = replyWhole(ctx, 1);
    ParameterRecords::DecodeGateCodes(c, payloadOf(ctx.link.RxMemo().line(0)));
    c.RefreshCodeHighlights();

    ctx.feedback.hideTransferWindow();
    ctx.feedback.setBusyCursor(false);
    finishWithCapture(c);
    return whole;
}

bool readMessages(TransferContext &ctx, ParameterControls &c)
{
    ctx.link.RxMemo().clear();
    ctx.feedback.showTransferWindow();
    ctx.link.SendCommand("d00020005\r");
    waitOutReply(ctx, 1000);

    for (int record = 2; record <= 5; ++record)
        ParameterRecords::DecodeMessages(c, record, payloadOf(ctx.link.RxMemo().line(record - 1)));

    ctx.feedback.hideTransferWindow();
    return replyWhole(ctx, 5);
}

bool readSpeedDials(TransferContext &ctx, ParameterControls &c)
{
    ctx.link.RxMemo().clear();
    ctx.link.SendCommand("d00070010\r");
    waitOutReply(ctx, 1000);

    for (int record = 7; record <= 10; ++record)
        ParameterRecords::DecodeSpeedDials(c, record, payloadOf(ctx.link.RxMemo().line(record - 6)));
    return replyWhole(ctx, 5);
}

void ReadPara1Click(TransferContext &ctx, ParameterControls &c)
{
    ExchangeGuard::Scope scope(ctx.guard);
    if (!scope)
        return;
    readSystemParameters(ctx, c);
}

void ReadCodeClick(TransferContext &ctx, ParameterControls &c)
{
    ExchangeGuard::Scope scope(ctx.guard);
    if (!scope)
        return;
    readGateCodes(ctx, c);
}

void ReadMsgsClick(TransferContext &ctx, ParameterControls &c)
{
    ExchangeGuard::Scope scope(ctx.guard);
    if (!scope)
        return;
    readMessages(ctx, c);
}

void ReadSpdClick(TransferContext &ctx, ParameterControls &c)
{
    ExchangeGuard::Scope scope(ctx.guard);
    if (!scope)
        return;
    readSpeedDials(ctx, c);
}

void ReadAllClick(TransferContext &ctx, ParameterControls &c)
{
    readAll(ctx, c);
}

bool readAll(TransferContext &ctx, ParameterControls &c)
{
    ExchangeGuard::Scope scope(ctx.guard);
    if (!scope)
        return false;
    // Every step runs, as on the page; the result says whether all came.
    bool whole = readGateCodes(ctx, c);
    whole = readMessages(ctx, c) && whole;
    whole = readSystemParameters(ctx, c) && whole;
    whole = readGateCodes(ctx, c) && whole;
    whole = readSpeedDials(ctx, c) && whole;
    if (whole && ctx.recorder)
        ctx.recorder->read(PanelContent::Kind::Parameters, ParameterBackupContent::files(ParameterWrites::recordsToWrite(c)));
    return whole;
}

} // namespace ParameterReads
