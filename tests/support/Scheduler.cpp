#include "support/Scheduler.h"

#include <QElapsedTimer>

qint64 EventLoopScheduler::nowNs() const
{
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer.nsecsElapsed();
}
