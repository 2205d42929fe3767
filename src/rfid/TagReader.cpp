#include "rfid/TagReader.h"

#include "rfid/CodeOwner.h"
#include "rfid/StoreCodec.h"
#include "rfid/TagLine.h"

TagReader::TagReader(DirectoryContext &ctx, RfidPageState &page, Beeper &beeper)
    : ctx_(ctx)
    , page_(page)
    , beeper_(beeper)
{
}

bool TagReader::Get_IDClick()
{
    if (ctx_.guard.busy())
        return false;
    page_.setProgressBar1(kTicks);
    ctx_.link.RxMemo().clear();
    page_.setIderror(RfidPageState::kReady);
    page_.setRfID({});
    ctx_.link.rx().DataArrived = false;
    waitedForLineEnd_ = false;
    // The keep-alive's probe would answer in place of the tag: its "OK" ends
    // the read as a read error. Counting the idle time afresh keeps the probe
    // at least 55 s away, beyond the read's 20 s.
    ctx_.link.conn().IdleTicks = 0;
    page_.setTimer3Active(true);
    page_.hideLcExist();
    return true;
}

void TagReader::Timer3Timer()
{
    if (!page_.Timer3Active())
        return; // a tick that was already queued when the read ended
    page_.setProgressBar1(qMax(page_.ProgressBar1() - 1, 0));
    if (!ctx_.link.rx().DataArrived) {
        if (page_.ProgressBar1() == 0)
            page_.setTimer3Active(false);
        return;
    }
    if (!lineEnded() && !waitedForLineEnd_) {
        waitedForLineEnd_ = true; // the rest of the line is on its way
        return;
    }

    page_.setTimer3Active(false);
    page_.setProgressBar1(0);
    // A reader may send lower case; the code goes on in the panel's form.
    const QByteArray code = StoreCodec::UpperCaseCode(TagLine::CheckTagLine(ctx_.link.RxMemo().line(0)));
    if (code.isEmpty()) {
        page_.setIderror(RfidPageState::kReadError);
    } else {
        FindCodeOwner(ctx_.directory, page_, code);
        page_.setRfID(code);
    }
    beeper_.beep();
}

bool TagReader::lineEnded() const
{
    // RxMemo's lines end at CR LF: its first line is whole once one is there.
    return ctx_.link.RxMemo().text().contains("\r\n");
}
