#pragma once

#include "link/TransferContext.h"
#include "events/ComputerClock.h"
#include "events/EventLog.h"

#include <QByteArray>

// The event page's exchanges with the panel: the download of the panel's
// clock and event log ("Down Load", dnLoad) and setting the panel's clock
// from the computer's ("Set_time"). Each holds the exchange guard for its
// whole run and reports what went wrong through the context's prompt.
class EventTransfer
{
public:
    enum class Outcome {
        Busy,         // another exchange was running; nothing was sent
        Completed,    // the log arrived and was decoded; EventsLoaded is set
        NotOnLine,    // no "OK" to "e": RxMemo says "Not on line", the table is unchanged
        BadClock,     // a clock pair was not hexadecimal; the table is unchanged
        BadEventLine, // an event line's date or time was not hexadecimal; the rows before it stay
    };

    EventTransfer(TransferContext &ctx, EventLog &log, ComputerClock clock = ComputerClock());

    // The download:
    //  1. transfer window shown, lamp blinking;
    //  2. CR, 172.8 ms;  3. RxMemo cleared, 1.7 ms;  4. "t", 172.8 ms;
    //  5. Stime and Sdate from the reply's second line (pairs 3, 2, 1 give
    //     hh:mm:ss, pairs 4, 5, 6 give dd/mm/yy);
    //  6. the computer's clock read; it becomes Ctime and Cdate ("Loaded
    //     At") only when rows are loaded (steps 10-11);
    //  7. "e", then RxMemo, the buffer and the acknowledgement cleared;
    //  8. polls of 432 ms until the reply ends with an "OK" line of its own
    //     after its first line (a name ending in "OK" at the end of a chunk
    //     does not end it, nor does the clock read's "OK" coming late). The
    //     wait gives up after 52 polls in a row without a byte (22.5 s after
    //     the last one), so a long log is never cut off while it arrives,
    //     and after 800 polls (345.6 s) in all;
    //  9. no "OK": "Not on line" into RxMemo (and, after step 13, into the
    //     status bar, since RxMemo is on another page);
    // 10.-11. the event table redefined and the lines between the reply's
    //     first and last decoded in order, numbered from 1;
    // 12. first row current, EventsLoaded set (downloadCompleted);
    // 13. lamp steady and online, transfer window hidden, in every case;
    //     the event log's download problem says what went wrong, or is
    //     emptied after a completed download.
    Outcome dnLoadClick();

    // Sends "t" and the computer's local time as "ssnnhhddmmyy". Nothing is
    // awaited; the next download shows the panel's new time. False when
    // another exchange was running.
    bool Set_timeClick();

    // The clock part of the download alone (steps 2 to 6): Stime, Sdate,
    // Ctime and Cdate set. Completed, BadClock (the message shown) or Busy.
    Outcome readClock();

    // Set_timeClick, then awaits the panel's answer: up to 20 polls of
    // 86.4 ms for "OK". Refused when the panel answered without "OK"
    // ("Error" to a time it does not take), NoAnswer when nothing came.
    enum class SetClockOutcome { Busy, Completed, Refused, NoAnswer };
    SetClockOutcome setClock();

private:
    bool clockSteps();
    Outcome download();
    bool readPanelClock(const QByteArray &clockLine);
    bool waitForEvents();
    Outcome decodeEvents(const QDateTime &loadedAt);
    void reportProblem(Outcome outcome);

    TransferContext &ctx_;
    EventLog &log_;
    ComputerClock clock_;
    int badEvent_ = 0;
};
