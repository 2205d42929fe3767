#pragma once

#include "link/Waiter.h"

#include <memory>

class QSocketNotifier;

// PumpWait on real time: processes pending events once, then sleeps in the
// event loop until the next event or the deadline, measured on a monotonic
// clock. On Linux a timerfd armed at the exact deadline wakes the loop, so a
// wait neither spins nor overshoots by the millisecond rounding of Qt's
// timers; elsewhere a precise single-shot QTimer does the waking.
class EventLoopWaiter : public Waiter
{
public:
    EventLoopWaiter();
    ~EventLoopWaiter() override;
    void pump(qint32 ticks) override;
    qint64 nowNs() const override;

private:
    void arm(qint64 deadlineNs);

    int timerFd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
};
