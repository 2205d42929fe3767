#pragma once

#include <QtGlobal>

// The one seam for time. Every wait of the exchange (PumpWait) goes through it:
// in the program it sleeps in the event loop for n ticks of 0.864 ms while
// window messages and serial notifications keep being processed; in tests it
// advances a virtual clock and delivers what a fake panel has scheduled.
class Waiter
{
public:
    static constexpr qint64 kTickNs = 864000; // 1e-8 of a day

    virtual ~Waiter() = default;

    // Waits n ticks; always processes pending messages at least once,
    // also for n <= 0. There is no way to cut a wait short.
    virtual void pump(qint32 ticks) = 0;

    // Monotonic time in nanoseconds, for code that measures elapsed time.
    virtual qint64 nowNs() const = 0;
};
