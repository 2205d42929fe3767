#include "link/EventLoopWaiter.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>
#include <ctime>

#ifdef __linux__
#include <sys/timerfd.h>
#include <unistd.h>
#endif

namespace {
qint64 monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}
} // namespace

EventLoopWaiter::EventLoopWaiter()
{
#ifdef __linux__
    timerFd_ = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (timerFd_ >= 0) {
        notifier_ = std::make_unique<QSocketNotifier>(timerFd_, QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [fd = timerFd_] {
            quint64 expirations = 0;
            [[maybe_unused]] const ssize_t n = ::read(fd, &expirations, sizeof expirations);
        });
    }
#endif
}

EventLoopWaiter::~EventLoopWaiter()
{
    notifier_.reset();
#ifdef __linux__
    if (timerFd_ >= 0)
        ::close(timerFd_);
#endif
}

qint64 EventLoopWaiter::nowNs() const
{
    return monotonicNs();
}

void EventLoopWaiter::arm(qint64 deadlineNs)
{
#ifdef __linux__
    itimerspec when{};
    when.it_value.tv_sec = deadlineNs / 1000000000LL;
    when.it_value.tv_nsec = deadlineNs % 1000000000LL;
    timerfd_settime(timerFd_, TFD_TIMER_ABSTIME, &when, nullptr);
#else
    Q_UNUSED(deadlineNs);
#endif
}

void EventLoopWaiter::pump(qint32 ticks)
{
    const qint64 deadline = monotonicNs() + qMax<qint64>(ticks, 0) * kTickNs;

    QCoreApplication::processEvents(QEventLoop::AllEvents);
    qint64 now = monotonicNs();
    if (now >= deadline)
        return;

    if (timerFd_ >= 0) {
        // Re-armed on every pass: a handler that ran a wait of its own inside
        // this one has moved the timer to its deadline.
        while (now < deadline) {
            arm(deadline);
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
            now = monotonicNs();
        }
        return;
    }

    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    while (now < deadline) {
        wake.start(int((deadline - now + 999999) / 1000000));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        now = monotonicNs();
    }
}
