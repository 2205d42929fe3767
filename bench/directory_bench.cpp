// Figures of the phone directory: how long a 1,000-entry phone list takes to
// open and to save, and, against a scripted panel on the real event loop at
// 57600 baud, the wall and CPU time of a full download of a 1000 model and
// of an upload, next to the time the bytes need on the line and the sum of
// the waits the exchange makes by its steps.
//
//   directory_bench [upload-entries]     (default 1024; the upload takes ~55 s)

#include "app/AppContext.h"
#include "directory/DirectoryPanel.h"
#include "directory/DirectorySlots.h"
#include "directory/DirectoryTransfer.h"
#include "directory/PhoneEditor.h"
#include "directory/PhoneListFile.h"
#include "link/EventLoopWaiter.h"
#include "support/FakePanelPort.h"
#include "support/RecordingFeedback.h"
#include "support/Recorders.h"
#include "support/Scheduler.h"
#include "table/widgets/TableModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr qint64 kByteNs = 1000000000LL * 10 / 57600;

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// PumpWait on real time that also adds up what was asked for.
class CountingWaiter : public Waiter
{
public:
    void pump(qint32 ticks) override
    {
        asked += qMax(ticks, 0);
        inner.pump(ticks);
    }
    qint64 nowNs() const override { return inner.nowNs(); }
    EventLoopWaiter inner;
    qint64 asked = 0;
};

struct RealTimeContext
{
    EventLoopScheduler scheduler;
    FakePanelPort port{scheduler};
    CountingWaiter waiter;
    RecordingStatus status;
    RecordingPrompt prompt;
    CommandExchange link{port, waiter, status, prompt};
    ExchangeGuard guard;
    RecordingFeedback feedback;
    PhoneDirectory directory;
    AppContext ctx{link, guard, prompt, status, feedback, directory};
    // What the page would attach: the grid's model and the editor.
    TableModel model{directory.PhoneTable};
    PhoneEditor editor{ctx};

    RealTimeContext()
    {
        directory.DefinePhoneFields();
        directory.PhoneTable.open();
        QString error;
        port.open(&error);
        link.conn().LoggedOn = true;
    }
};

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.at(v.size() / 2);
}

void benchFile()
{
    RealTimeContext c;
    PhoneListFile file(c.ctx);
    QTemporaryDir dir;
    Table &table = c.directory.PhoneTable;
    for (int i = 0; i < 1000; ++i)
        table.appendRecord({"Resident " + QByteArray::number(i * 7919 % 1000), QByteArray::number(100 + i),
                            "0123456789*#p", "1234", "5678", "12", "0A1B2C3D4E",
                            DirectorySlots::text(0x1000 + 0x20 * i)});
    const QString path = dir.filePath(QStringLiteral("bench.csv"));
    QList<double> opens, saves;
    for (int round = 0; round < 21; ++round) {
        QElapsedTimer t;
        t.start();
        file.saveAs(path);
        saves << t.nsecsElapsed() / 1e6;
        t.restart();
        file.open(path);
        opens << t.nsecsElapsed() / 1e6;
    }
    std::printf("phone list of %d entries: open %.1f ms, save %.1f ms (median of 21; min %.1f / %.1f ms)\n",
                table.count(), median(opens), median(saves), *std::min_element(opens.begin(), opens.end()),
                *std::min_element(saves.begin(), saves.end()));
}

void benchDownload()
{
    RealTimeContext c;
    DirectoryPanel panel(0x9000);
    for (int record = 128; record <= 1152; ++record)
        panel.store(record, QByteArray::number(record) + ",1234,5678,12,0123456789:;<,Resident " +
                                QByteArray::number(record));
    panel.attach(c.port);
    c.port.setByteTimeNs(kByteNs);
    c.port.setChunkSize(32);
    const QByteArray reply = panel.answer("d01281152");
    const double lineS = reply.size() * kByteNs / 1e9;

    const double cpu0 = cpuSeconds();
    QElapsedTimer t;
    t.start();
    DirectoryTransfer(c.ctx).GetDataClick();
    const double wallS = t.nsecsElapsed() / 1e9;
    const double cpuS = cpuSeconds() - cpu0;
    const double tailS = (10 + 1 + 1000) * Waiter::kTickNs / 1e9; // before the command, in SendCommand, the tail
    std::printf("download of a 1000 model: %d entries, %lld bytes; wall %.3f s; line %.3f s + stated tail %.3f s "
                "= %.3f s (+%.1f%%; one step of 86.4 ms allowed); CPU %.3f s (%.1f%% of wall)\n",
                c.directory.PhoneTable.count(), qlonglong(reply.size()), wallS, lineS, tailS, lineS + tailS,
                100.0 * (wallS / (lineS + tailS) - 1.0), cpuS, 100.0 * cpuS / wallS);
}

void benchUpload(int entries)
{
    RealTimeContext c;
    DirectoryPanel panel(0x9000);
    panel.attach(c.port);
    c.link.conn().DirectoryEnd = 0x9000;
    for (int i = 0; i < entries; ++i)
        c.directory.PhoneTable.appendRecord({"Resident " + QByteArray::number(i * 7919 % 1024),
                                             QByteArray::number(100 + i), "0123456789*#p", "1234", "5678", "12"});
    const double cpu0 = cpuSeconds();
    QElapsedTimer t;
    t.start();
    DirectoryTransfer(c.ctx).WriteDataClick();
    const double wallS = t.nsecsElapsed() / 1e9;
    const double cpuS = cpuSeconds() - cpu0;
    const double statedS = c.waiter.asked * Waiter::kTickNs / 1e9;
    std::printf("upload of %d entries: %d stored; wall %.3f s; stated waits %.3f s (+%.2f%%); CPU %.3f s "
                "(%.1f%% of wall); messages %lld\n",
                entries, int(panel.records.size()), wallS, statedS, 100.0 * (wallS / statedS - 1.0), cpuS,
                100.0 * cpuS / wallS, qlonglong(c.prompt.messages.size()));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int uploadEntries = argc > 1 ? std::clamp(QByteArray(argv[1]).toInt(), 0, 1024) : 1024;
    benchFile();
    benchDownload();
    if (uploadEntries > 0)
        benchUpload(uploadEntries);
    return 0;
}
