// Prints what the command exchange costs in real time:
//  1. the CPU time a real ten-second PumpWait consumes with an open, idle port;
//  2. the wall time of 1,000 ReadCompare exchanges against an in-process fake
//     panel that answers at once, beside the time the waits themselves take;
//  3. with --floor-entries N: the least CPU the waits of an N-entry directory
//     upload can cost on this machine, the panel answering at once: each entry
//     waits a tick before each of its two commands and one step of 40 and of
//     20 ticks for the replies, four sleeps in all. Measured once with
//     nothing but a timer and poll(), once through the program's wait (the
//     event loop), neither writing to a device.
// Usage: link_bench [--wait-seconds N] [--exchanges N] [--floor-entries N]

#include "link/CommandExchange.h"
#include "link/DeviceMap.h"
#include "link/EventLoopWaiter.h"
#include "link/SystemSerialPort.h"
#include "support/FakePanelPort.h"
#include "support/Recorders.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/timerfd.h>
#include <unistd.h>

namespace {
double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
}

void idleWait(int seconds)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::printf("idle wait: cannot open a pseudo-terminal\n");
        return;
    }
    DeviceMap devices;
    devices.setDevice(2, QString::fromLocal8Bit(ptsname(master)));
    SystemSerialPort port(devices);
    EventLoopWaiter waiter;
    RecordingStatus status;
    RecordingPrompt prompt;
    CommandExchange link(port, waiter, status, prompt);
    QString error;
    if (!port.open(&error)) {
        std::printf("idle wait: %s\n", qPrintable(error));
        return;
    }
    const qint32 ticks = qint32(seconds * 1000.0 / 0.864);
    const double cpu0 = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    link.PumpWait(ticks);
    const double cpu = cpuSeconds() - cpu0;
    const double elapsed = wall.nsecsElapsed() / 1e9;
    std::printf("PumpWait(%d) with an idle open port: wall %.3f s (asked %.3f s), CPU %.4f s = %.3f%% of a core\n",
                ticks, elapsed, ticks * 0.000864, cpu, 100.0 * cpu / elapsed);
    port.close();
    ::close(master);
}

void readCompares(int count)
{
    EventLoopScheduler scheduler;
    FakePanelPort port(scheduler);
    port.setLatencyNs(0);
    port.setResponder([](const QByteArray &command) { return command + "ABCDEFGHIJ\r\nOK\r\n"; });
    EventLoopWaiter waiter;
    RecordingStatus status;
    RecordingPrompt prompt;
    CommandExchange link(port, waiter, status, prompt);
    QString error;
    port.open(&error);
    int good = 0;
    const double cpu0 = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    for (int i = 0; i < count; ++i)
        good += link.ReadCompare("0005", "ABCDEFGHIJ") ? 1 : 0;
    const double elapsed = wall.nsecsElapsed() / 1e9;
    const double cpu = cpuSeconds() - cpu0;
    // Each exchange waits one tick in SendCommand and at least one step of 20.
    const double waits = count * 21 * 0.000864;
    std::printf("%d ReadCompare exchanges (%d matched): wall %.3f s, their waits %.3f s, overhead %.2f%%, CPU %.3f s\n",
                count, good, elapsed, waits, 100.0 * (elapsed - waits) / waits, cpu);
}
// The ticks an upload entry waits when the panel answers within the first
// step: SendCommand's tick and WriteBlock's first step, then the same for
// the read-back.
constexpr qint32 kEntryWaits[] = {1, 40, 1, 20};

void printFloor(const char *how, int entries, double cpu, double elapsed, long sleeps)
{
    std::printf("waits of a %d-entry upload, %s: wall %.3f s, CPU %.4f s = %.2f%% of a core, %ld sleeps\n", entries,
                how, elapsed, cpu, 100.0 * cpu / elapsed, sleeps);
}

long voluntarySwitches()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_nvcsw;
}

void uploadWaitFloor(int entries)
{
    const int timer = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC);
    if (timer >= 0) {
        const double cpu0 = cpuSeconds();
        const long switches0 = voluntarySwitches();
        QElapsedTimer wall;
        wall.start();
        for (int i = 0; i < entries; ++i) {
            for (const qint32 ticks : kEntryWaits) {
                itimerspec when{};
                when.it_value.tv_nsec = long(ticks) * Waiter::kTickNs;
                timerfd_settime(timer, 0, &when, nullptr);
                pollfd ready{timer, POLLIN, 0};
                while (::poll(&ready, 1, -1) < 0) {
                }
                quint64 expirations = 0;
                [[maybe_unused]] const ssize_t n = ::read(timer, &expirations, sizeof expirations);
            }
        }
        printFloor("a timer and poll() alone", entries, cpuSeconds() - cpu0, wall.nsecsElapsed() / 1e9,
                   voluntarySwitches() - switches0);
        ::close(timer);
    }
    EventLoopWaiter waiter;
    waiter.pump(10);
    const double cpu0 = cpuSeconds();
    const long switches0 = voluntarySwitches();
    QElapsedTimer wall;
    wall.start();
    for (int i = 0; i < entries; ++i)
        for (const qint32 ticks : kEntryWaits)
            waiter.pump(ticks);
    printFloor("the program's wait", entries, cpuSeconds() - cpu0, wall.nsecsElapsed() / 1e9,
               voluntarySwitches() - switches0);
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int seconds = 10;
    int exchanges = 1000;
    int floorEntries = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (qstrcmp(argv[i], "--wait-seconds") == 0)
            seconds = std::atoi(argv[i + 1]);
        else if (qstrcmp(argv[i], "--exchanges") == 0)
            exchanges = std::atoi(argv[i + 1]);
        else if (qstrcmp(argv[i], "--floor-entries") == 0)
            floorEntries = std::atoi(argv[i + 1]);
    }
    if (seconds > 0)
        idleWait(seconds);
    if (exchanges > 0)
        readCompares(exchanges);
    if (floorEntries > 0)
        uploadWaitFloor(floorEntries);
    return 0;
}
