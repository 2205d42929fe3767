#include "support/VirtualClock.h"

void VirtualClock::scheduleAt(qint64 timeNs, std::function<void()> action)
{
    events_.emplace(Key{qMax(timeNs, now_), seq_++}, std::move(action));
}

bool VirtualClock::runNextUpTo(qint64 timeNs)
{
    if (events_.empty())
        return false;
    auto first = events_.begin();
    if (first->first.time > timeNs)
        return false;
    now_ = qMax(now_, first->first.time);
    std::function<void()> action = std::move(first->second);
    events_.erase(first);
    action();
    return true;
}

void VirtualClock::runDue()
{
    while (runNextUpTo(now_)) {
    }
}

void VirtualClock::advanceTo(qint64 timeNs)
{
    while (runNextUpTo(timeNs)) {
    }
    now_ = qMax(now_, timeNs);
}

void VirtualWaiter::pump(qint32 ticks)
{
    waits_.append(ticks);
    const qint64 deadline = clock_.nowNs() + qMax<qint64>(ticks, 0) * kTickNs;
    clock_.runDue();
    clock_.advanceTo(deadline);
}

qint64 VirtualWaiter::totalTicks() const
{
    qint64 sum = 0;
    for (qint32 w : waits_)
        sum += qMax<qint32>(w, 0);
    return sum;
}
