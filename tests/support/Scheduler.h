#pragma once

#include "support/VirtualClock.h"

#include <QTimer>
#include <functional>

// Where a fake panel's replies are scheduled: on virtual time in tests, on
// the event loop when a benchmark measures real waits.
class Scheduler
{
public:
    virtual ~Scheduler() = default;
    virtual void in(qint64 delayNs, std::function<void()> action) = 0;
    virtual qint64 nowNs() const = 0;
};

class VirtualScheduler : public Scheduler
{
public:
    explicit VirtualScheduler(VirtualClock &clock) : clock_(clock) {}
    void in(qint64 delayNs, std::function<void()> action) override { clock_.scheduleIn(delayNs, std::move(action)); }
    qint64 nowNs() const override { return clock_.nowNs(); }

private:
    VirtualClock &clock_;
};

class EventLoopScheduler : public Scheduler
{
public:
    void in(qint64 delayNs, std::function<void()> action) override
    {
        QTimer::singleShot(int(delayNs / 1000000), Qt::PreciseTimer, std::move(action));
    }
    qint64 nowNs() const override;
};
