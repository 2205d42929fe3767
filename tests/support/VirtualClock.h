#pragma once

#include "link/Waiter.h"

#include <QList>
#include <functional>
#include <map>

// Virtual time for tests. Events are scheduled at a time and run in time
// order (ties in the order they were scheduled) while a VirtualWaiter waits.
// Nothing ever sleeps.
class VirtualClock
{
public:
    qint64 nowNs() const { return now_; }
    qint64 nowTicks() const { return now_ / Waiter::kTickNs; }

    void scheduleAt(qint64 timeNs, std::function<void()> action);
    void scheduleIn(qint64 delayNs, std::function<void()> action) { scheduleAt(now_ + delayNs, std::move(action)); }
    void scheduleInTicks(qint64 ticks, std::function<void()> action) { scheduleIn(ticks * Waiter::kTickNs, std::move(action)); }

    // Runs every event due by now (also those that due events schedule for now).
    void runDue();
    // Runs the events up to timeNs, moving the clock to each; ends at timeNs
    // (or later, when a nested wait inside an event went further).
    void advanceTo(qint64 timeNs);
    bool hasPending() const { return !events_.empty(); }

private:
    struct Key
    {
        qint64 time;
        quint64 seq;
        bool operator<(const Key &o) const { return time != o.time ? time < o.time : seq < o.seq; }
    };
    bool runNextUpTo(qint64 timeNs);

    qint64 now_ = 0;
    quint64 seq_ = 0;
    std::map<Key, std::function<void()>> events_;
};

// The wait seam on virtual time: every wait is recorded in ticks.
class VirtualWaiter : public Waiter
{
public:
    explicit VirtualWaiter(VirtualClock &clock) : clock_(clock) {}

    void pump(qint32 ticks) override;
    qint64 nowNs() const override { return clock_.nowNs(); }

    const QList<qint32> &waits() const { return waits_; }
    qint64 totalTicks() const;
    void clearLog() { waits_.clear(); }

private:
    VirtualClock &clock_;
    QList<qint32> waits_;
};
