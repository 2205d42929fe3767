#pragma once

#include "link/Waiter.h"

// PumpWait on real time: processes pending events once, then sleeps in the
// event loop until the next event or the deadline, measured on a monotonic
// clock. A precise single-shot timer wakes the loop at the deadline, so the
// wait neither spins nor ends early.
class EventLoopWaiter : public Waiter
{
public:
    EventLoopWaiter();
    void pump(qint32 ticks) override;
    qint64 nowNs() const override;

private:
    qint64 originNs_ = 0;
};
