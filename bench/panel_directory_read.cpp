// How long a full directory read ("d01281152") of a 1000 model takes through
// the virtual panel on a pseudo-terminal at 57600 baud, against the time its
// bytes need on the line (10 bits a byte). Prints the figures; asserts
// nothing.
//
//   ./build/bench/panel_directory_read
#include "DemoData.h"
#include "PtyPanelServer.h"
#include "link/CommandExchange.h"
#include "link/DeviceMap.h"
#include "link/EventLoopWaiter.h"
#include "link/SystemSerialPort.h"
#include "support/Recorders.h"

#include <QCoreApplication>

#include <cstdio>

namespace {
struct Figures
{
    qint64 bytes = 0;
    double lineSeconds = 0;
    double measuredSeconds = 0;
    bool complete = false;
};

Figures measure(PanelEngine &engine)
{
    Figures f;
    {
        PanelEngine copy(QStringLiteral("1000"));
        for (int r = 0; r <= PanelMemory::kLastRfid; ++r)
            if (engine.memory().exists(r))
                copy.memory().setRecord(r, engine.memory().record(r));
        copy.feed("a1234\r");
        f.bytes = copy.feed("d01281152\r").size();
    }
    f.lineSeconds = double(f.bytes) * PanelTransmitter::kBitsPerByte / PanelTransmitter::kDefaultBaud;

    PtyPanelServer server(engine);
    QString error;
    if (!server.open(&error)) {
        std::fprintf(stderr, "cannot open a pseudo-terminal: %s\n", qPrintable(error));
        return f;
    }
    DeviceMap devices;
    devices.setDevice(2, server.devicePath());
    SystemSerialPort port(devices);
    EventLoopWaiter waiter;
    RecordingStatus status;
    RecordingPrompt prompt;
    CommandExchange link(port, waiter, status, prompt);
    if (!port.open(&error)) {
        std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(server.devicePath()), qPrintable(error));
        return f;
    }
    link.WriteDirect("x\r");
    link.WriteDirect("\r");
    link.WriteDirect("a1234\r");
    link.clearReply();
    if (!link.waitForReply(10, 200)) {
        std::fprintf(stderr, "no log-on\n");
        return f;
    }

    qint64 doneNs = -1;
    QObject::connect(&port, &SerialPort::readyRead, &link, [&] {
        if (link.rx().ReplyOk && doneNs < 0)
            doneNs = waiter.nowNs();
    }); // runs after the receive handler, which was connected first

    link.rx().EchoSuppressed = true;
    link.PumpWait(50);
    link.clearReply();
    link.SendCommand("d01281152\r");
    const qint64 startNs = waiter.nowNs(); // the command has just been written
    for (int i = 0; i < 3000 && doneNs < 0; ++i)
        link.PumpWait(10);
    f.complete = doneNs >= 0 && link.rx().ReceiveBuffer.size() == f.bytes;
    f.measuredSeconds = double((doneNs >= 0 ? doneNs : waiter.nowNs()) - startNs) / 1e9;
    link.LogOff();
    return f;
}

void report(const char *what, const Figures &f)
{
    std::printf("%-34s %7lld bytes   line time %7.3f s   measured %7.3f s   %+6.2f %%%s\n", what,
                static_cast<long long>(f.bytes), f.lineSeconds, f.measuredSeconds,
                100.0 * (f.measuredSeconds - f.lineSeconds) / f.lineSeconds, f.complete ? "" : "   INCOMPLETE");
    std::fflush(stdout);
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::printf("d01281152 at 57600 baud, 10 bits a byte (%.1f us a byte)\n",
                PanelTransmitter::byteTimeNs(PanelTransmitter::kDefaultBaud) / 1000.0);

    PanelEngine demo(QStringLiteral("1000"));
    DemoData::seed(demo.memory(), demo.clock().now());
    report("demo-filled 1000 model", measure(demo));

    PanelEngine full(QStringLiteral("1000"));
    for (int r = 128; r <= 1152; ++r)
        full.memory().setRecord(r, "123456,1234,5678,12,0123456789:;<=,Resident " + QByteArray::number(r));
    report("1000 model, every slot in use", measure(full));
    return 0;
}
