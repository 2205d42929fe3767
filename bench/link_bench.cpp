// Prints what the command exchange costs in real time:
//  1. the CPU time a real ten-second PumpWait consumes with an open, idle port;
//  2. the wall time of 1,000 ReadCompare exchanges against an in-process fake
//     panel that answers at once, beside the time the waits themselves take.
// Usage: link_bench [--wait-seconds N] [--exchanges N]

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
#include <sys/resource.h>
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
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int seconds = 10;
    int exchanges = 1000;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (qstrcmp(argv[i], "--wait-seconds") == 0)
            seconds = std::atoi(argv[i + 1]);
        else if (qstrcmp(argv[i], "--exchanges") == 0)
            exchanges = std::atoi(argv[i + 1]);
    }
    if (seconds > 0)
        idleWait(seconds);
    if (exchanges > 0)
        readCompares(exchanges);
    return 0;
}
