// What the device dialog's refresh costs on this machine: the serial devices
// present read from sysfs, with by-id names, permission and holders (lock
// files and every readable /proc/PID/fd), and what QSerialPortInfo would
// take for the same list. Prints the devices, then the time of one refresh.
#include "link/SerialDeviceList.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSerialPortInfo>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    constexpr int kRounds = 50;
    const SerialDeviceList list;
    for (const SerialDevice &d : list.scan())
        std::printf("  %s\n", qPrintable(SerialDeviceList::toText(d)));

    QElapsedTimer t;
    t.start();
    for (int i = 0; i < kRounds; ++i)
        list.scan();
    std::printf("SerialDeviceList::scan           %7.2f ms a refresh (%d rounds)\n",
                double(t.nsecsElapsed()) / 1e6 / kRounds, kRounds);
    SerialDeviceList::Sources noProc;
    noProc.access.proc = QStringLiteral("/nonexistent");
    const SerialDeviceList withoutProc(noProc);
    t.restart();
    for (int i = 0; i < kRounds; ++i)
        withoutProc.scan();
    std::printf("  of which without the /proc pass %7.2f ms\n", double(t.nsecsElapsed()) / 1e6 / kRounds);
    t.restart();
    qsizetype found = 0;
    for (int i = 0; i < kRounds; ++i)
        found = QSerialPortInfo::availablePorts().size();
    std::printf("QSerialPortInfo::availablePorts  %7.2f ms a call, %lld ports (opens each UART it lists)\n",
                double(t.nsecsElapsed()) / 1e6 / kRounds, qlonglong(found));
    return 0;
}
