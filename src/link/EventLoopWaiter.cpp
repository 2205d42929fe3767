#include "link/EventLoopWaiter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace {
QElapsedTimer &monotonic()
{
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer;
}
} // namespace

EventLoopWaiter::EventLoopWaiter()
{
    originNs_ = monotonic().nsecsElapsed();
}

qint64 EventLoopWaiter::nowNs() const
{
    return monotonic().nsecsElapsed() - originNs_;
}

void EventLoopWaiter::pump(qint32 ticks)
{
    const qint64 start = monotonic().nsecsElapsed();
    const qint64 deadline = start + qMax<qint64>(ticks, 0) * kTickNs;

    QCoreApplication::processEvents(QEventLoop::AllEvents);
    qint64 now = monotonic().nsecsElapsed();
    if (now >= deadline)
        return;

    // The timer only has to wake the loop; whoever processes its event
    // (this loop or a nested one started by a handler) does no harm.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    while (now < deadline) {
        const qint64 remainingNs = deadline - now;
        wake.start(int((remainingNs + 999999) / 1000000));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        now = monotonic().nsecsElapsed();
    }
}
