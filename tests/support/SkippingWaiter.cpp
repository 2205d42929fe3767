#include "support/SkippingWaiter.h"

#include "PanelServer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <ctime>

namespace {
constexpr qint64 kLookAgainNs = 1000000; // while unsettled, look again at least this often
}

SkippingWaiter::SkippingWaiter()
{
    wake_.setSingleShot(true);
    wake_.setTimerType(Qt::PreciseTimer);
}

qint64 SkippingWaiter::monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

qint64 SkippingWaiter::nowNs() const
{
    return monotonicNs() + skippedNs_;
}

void SkippingWaiter::pump(qint32 ticks)
{
    const qint64 deadline = nowNs() + qMax<qint64>(ticks, 0) * kTickNs;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    for (qint64 now = nowNs(); now < deadline; now = nowNs()) {
        if (skipping_ && settled_ && settled_()) {
            // A handler that ran inside the test may have waited and skipped too.
            now = nowNs();
            if (now < deadline)
                skippedNs_ += deadline - now;
            return;
        }
        const qint64 sliceNs = skipping_ && settled_ ? qMin(deadline - now, kLookAgainNs) : deadline - now;
        wake_.start(int((sliceNs + 999999) / 1000000));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

PanelLineWatch::PanelLineWatch(CountingSerialPort &port, PanelServer &server)
    : port_(port)
    , server_(server)
{
    port_.beforeOpen = [this] {
        server_.checkLine(); // the panel sees the last session end, if it has
        sessionsAtOpen_ = server_.sessions();
    };
}

PanelLineWatch::~PanelLineWatch()
{
    port_.beforeOpen = {};
}

bool PanelLineWatch::settled()
{
    server_.checkLine();
    // What the port holds back is read now, as the end of the wait would
    // read it: a panel whose output waits for room on the line can go on.
    port_.collect();
    if (!server_.idle())
        return false;
    if (!port_.isOpen())
        return !server_.programAttached();
    if (!server_.programAttached() || server_.sessions() != sessionsAtOpen_ + 1)
        return false;
    return port_.bytesWritten() == server_.bytesReceived() && server_.bytesSent() == port_.bytesRead();
}
