#pragma once

#include "directory/DirectoryContext.h"
#include "rfid/Beeper.h"
#include "rfid/RfidPageState.h"

// The tag read of the RFID page. No command goes to the panel: "Get_RFID"
// arms a countdown of 20 one-second ticks of Timer3 and the panel sends the
// tag line by itself when a tag is held to its reader. The window owns the
// timer: it starts and stops it as RfidPageState::Timer3Active says and calls
// Timer3Timer on every tick; tests call Timer3Timer directly.
class TagReader
{
public:
    static constexpr int kTicks = 20;

    TagReader(DirectoryContext &ctx, RfidPageState &page, Beeper &beeper);

    // ProgressBar1 to 20, RxMemo cleared, iderror "Ready", rfID emptied,
    // DataArrived cleared, the keep-alive's idle count restarted (its probe
    // must not come while the read waits), Timer3 on, Lc_exist hidden. Pressed again while
    // waiting it starts afresh. Refused (false) while another exchange runs,
    // whose reply lines in RxMemo it would otherwise wipe.
    bool Get_IDClick();

    // One tick: the bar goes down by one and the timer stops at 0 (a silent
    // timeout: iderror keeps "Ready", no beep). Then, if anything arrived,
    // the timer stops, the bar shows 0 and RxMemo's first line is checked:
    // a good line puts its code, in upper case, into rfID after
    // FindCodeOwner has named any owner; a bad one shows "Read Error, Try
    // Again". Either way it beeps.
    // A line that arrives during the last second is still taken.
    //
    // The line takes a few milliseconds on the wire, and a tick may fall
    // inside them: a first line without its line end (CR LF) yet is left
    // for the next tick, one second later, which checks it whole or as far
    // as it came. The read goes on for that tick even past the count's end.
    void Timer3Timer();

private:
    bool lineEnded() const;

    DirectoryContext &ctx_;
    RfidPageState &page_;
    Beeper &beeper_;
    bool waitedForLineEnd_ = false; // this read has given a line one more tick
};
