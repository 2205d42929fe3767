// Figures of the phone directory: how long a 1,000-entry phone list takes to
// open and to save, and, against a scripted panel on the real event loop at
// 57600 baud, the wall and CPU time of a full download of a 1000 model and
// of an upload, next to the time the bytes need on the line and the sum of
// the waits the exchange makes by its steps.
//
// The "pty" mode does the same through the real serial code: the phone page
// (grid, editor, memo) with SystemSerialPort on the device of the virtual
// panel, which runs as the panel-sim command beside this one, paced at
// 57600 baud. Its CPU figures are this process's alone.
//
// The "net" mode downloads the same full directory three times: through the
// pseudo-terminal, through tcp:// to panel-sim's TCP port, and through
// rfc2217:// to ser2net in front of panel-sim's pseudo-terminal.
//
//   directory_bench [upload-entries]       (default 1024; the upload takes ~55 s)
//   directory_bench pty [upload-entries]   (the same through panel-sim; ~70 s)
//   directory_bench net [pty|tcp|rfc2217]  (three downloads, or the one named; ~35 s)

#include "directory/DirectoryContext.h"
#include "directory/DirectoryPanel.h"
#include "directory/DirectorySlots.h"
#include "directory/DirectoryTransfer.h"
#include "directory/PhoneEditor.h"
#include "directory/PhoneListFile.h"
#include "directory/widgets/PhonePage.h"
#include "link/DeviceMap.h"
#include "link/EventLoopWaiter.h"
#include "link/SystemSerialPort.h"
#include "support/FakePanelPort.h"
#include "support/RecordingFeedback.h"
#include "support/Recorders.h"
#include "support/Scheduler.h"
#include "support/Ser2net.h"
#include "table/widgets/TableModel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
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
    DirectoryContext ctx{{link, guard, prompt, status, feedback}, directory};
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

// Opening the 1,000 entries exported for a spreadsheet, and the worst a
// spreadsheet file can ask: one just under the size limit, UTF-8 with a
// character outside Latin-1 and a value to cut in every row, each of which
// the message after the load lists.
void benchSpreadsheet()
{
    RealTimeContext c;
    PhoneListFile file(c.ctx);
    QTemporaryDir dir;
    Table &table = c.directory.PhoneTable;
    for (int i = 0; i < 1000; ++i)
        table.appendRecord({"R\xE9sident, " + QByteArray::number(i), QByteArray::number(100 + i), "0123456789*#p",
                            "1234", "5678", "12", "0A1B2C3D4E", DirectorySlots::text(0x1000 + 0x20 * i)});
    const QString sheet = dir.filePath(QStringLiteral("sheet.csv"));
    QByteArray worst = "\xEF\xBB\xBFName;RoomNumber;PHnumber\r\n";
    const QByteArray row = "\"Z\xC5\x82oty \xE2\x82\xAC; a name far too long\";101;0123456789\r\n";
    while (worst.size() + row.size() <= 1024 * 1024)
        worst += row;
    const QString big = dir.filePath(QStringLiteral("big.csv"));
    QFile out(big);
    if (!out.open(QIODevice::WriteOnly) || out.write(worst) != worst.size())
        return;
    out.close();
    QList<double> exports, opens, bigOpens;
    int bigRows = 0;
    for (int round = 0; round < 11; ++round) {
        QElapsedTimer t;
        t.start();
        file.exportTo(sheet, ';');
        exports << t.nsecsElapsed() / 1e6;
        t.restart();
        file.open(sheet);
        opens << t.nsecsElapsed() / 1e6;
        t.restart();
        file.open(big);
        bigOpens << t.nsecsElapsed() / 1e6;
        bigRows = table.count();
        file.open(sheet);
    }
    std::printf("spreadsheet export of 1000 entries: export %.1f ms, open %.1f ms; "
                "a 1 MB UTF-8 sheet of %d rows, every one changed: open %.1f ms (medians of 11)\n",
                median(exports), median(opens), bigRows, median(bigOpens));
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

// ---- Through the pseudo-terminal of panel-sim ------------------------------

// The panel's memory file: a 1000 model with every directory slot in use.
bool writeFullMemory(const QString &name)
{
    QByteArray text = "corvalen-xarn-panel-memory 1\nmodel 1000\n";
    for (int record = 128; record <= 1152; ++record) {
        const QByteArray entry =
            QByteArray::number(record) + ",1234,5678,12,0123456789:;<,Resident%20" + QByteArray::number(record);
        text += "record " + QByteArray::number(record).rightJustified(4, '0') + " =" + entry + "\n";
    }
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// panel-sim beside this program; the device it serves (its first line).
class PanelSim
{
public:
    bool start(const QStringList &args)
    {
        const QString program =
            QCoreApplication::applicationDirPath() + QStringLiteral("/../tools/panel-sim/panel-sim");
        const QStringList base{QStringLiteral("--quiet"), QStringLiteral("--no-keys")};
        sim_.start(program, base + args);
        if (!sim_.waitForStarted(5000) || !sim_.waitForReadyRead(5000)) {
            std::fprintf(stderr, "cannot start %s: %s\n", qPrintable(program),
                         sim_.readAllStandardError().constData());
            return false;
        }
        device_ = QString::fromLocal8Bit(sim_.readLine()).trimmed();
        return true;
    }
    QString device() const { return device_; }
    ~PanelSim()
    {
        sim_.terminate();
        sim_.waitForFinished(5000);
    }

private:
    QProcess sim_;
    QString device_;
};

struct PtyContext
{
    DeviceMap devices;
    SystemSerialPort port{devices};
    CountingWaiter waiter;
    RecordingStatus status;
    RecordingPrompt prompt;
    CommandExchange link{port, waiter, status, prompt};
    ExchangeGuard guard;
    RecordingFeedback feedback;
    PhoneDirectory directory;
    DirectoryContext ctx{{link, guard, prompt, status, feedback}, directory};
    std::unique_ptr<PhonePage> page;

    explicit PtyContext(const QString &device)
    {
        devices.setDevice(2, device);
        directory.DefinePhoneFields();
        directory.PhoneTable.open();
        page = std::make_unique<PhonePage>(ctx);
        page->resize(780, 440);
        page->show();
    }
    // Wakes the panel and gives the PIN, without the log-on's long waits.
    bool logOn()
    {
        QString error;
        if (!port.open(&error)) {
            std::fprintf(stderr, "cannot open the panel's device: %s\n", qPrintable(error));
            return false;
        }
        link.RxMemo().clear();
        link.WriteDirect("x\r");
        link.WriteDirect("\r");
        for (int i = 0; i < 100 && link.RxMemo().lineCount() < 4; ++i)
            link.PumpWait(10);
        link.PumpWait(50);
        link.RxMemo().clear();
        link.clearReply();
        link.WriteDirect("a1234\r");
        if (!link.waitForReply(10, 200))
            return false;
        link.conn().LoggedOn = true;
        link.conn().DirectoryEnd = 0x9000;
        page->setOnline(true);
        return true;
    }
};

enum class Line { Pty, Tcp, Ser2netTcp, Rfc2217 };

const char *lineName(Line line)
{
    switch (line) {
    case Line::Pty: return "pty";
    case Line::Tcp: return "tcp";
    case Line::Ser2netTcp: return "ser2net-tcp";
    case Line::Rfc2217: return "rfc2217";
    }
    return "";
}

int benchLineDownload(const QString &folder, Line line)
{
    const QString memory = folder + QStringLiteral("/full.mem");
    const QString link = folder + QStringLiteral("/panel-d");
    PanelSim sim;
    Ser2net ser2net;
    QString device = link;
    const QStringList args = line == Line::Tcp ? QStringList{QStringLiteral("--tcp"), QStringLiteral("0")}
                                               : QStringList{QStringLiteral("--link"), link};
    if (!writeFullMemory(memory) || !sim.start(args + QStringList{QStringLiteral("--memory"), memory}))
        return 1;
    if (line == Line::Tcp)
        device = sim.device();
    if (line == Line::Rfc2217 || line == Line::Ser2netTcp) {
        QString error;
        if (!ser2net.start(link, &error, line == Line::Rfc2217 ? Ser2net::Mode::Rfc2217 : Ser2net::Mode::Raw)) {
            std::fprintf(stderr, "cannot start ser2net: %s\n", qPrintable(error));
            return 1;
        }
        device = ser2net.url();
    }
    PtyContext c(device);
    if (!c.logOn())
        return 1;
    int chunks = 0;
    QObject::connect(&c.port, &SerialPort::readyRead, [&chunks] { ++chunks; });
    const double cpu0 = cpuSeconds();
    QElapsedTimer t;
    t.start();
    c.page->transfer().GetDataClick();
    const double wallS = t.nsecsElapsed() / 1e9;
    const double cpuS = cpuSeconds() - cpu0;
    const qint64 bytes = c.link.RxMemo().text().size();
    const double lineS = bytes * kByteNs / 1e9;
    const double tailS = (10 + 1 + 1000) * Waiter::kTickNs / 1e9;
    const double over = 100.0 * (wallS / (lineS + tailS) - 1.0);
    std::printf("%-11s download of a full 1000 model: %d entries, %lld bytes; wall %.3f s; line %.3f s + stated tail "
                "%.3f s = %.3f s (+%.1f%%, %s 10%%); CPU %.3f s (%.1f%% of wall); %d chunks; messages %lld\n",
                lineName(line), c.directory.PhoneTable.count(), qlonglong(bytes), wallS, lineS, tailS, lineS + tailS,
                over, over <= 10.0 ? "within" : "NOT within", cpuS, 100.0 * cpuS / wallS, chunks,
                qlonglong(c.prompt.messages.size()));
    std::fflush(stdout);
    c.link.LogOff();
    return 0;
}

int benchPtyUpload(const QString &folder, int entries)
{
    const QString device = folder + QStringLiteral("/panel-u");
    PanelSim sim;
    if (!sim.start({QStringLiteral("--model"), QStringLiteral("1000"), QStringLiteral("--link"), device}))
        return 1;
    PtyContext c(device);
    if (!c.logOn())
        return 1;
    {
        Table::ControlsPause quiet(c.directory.PhoneTable);
        for (int i = 0; i < entries; ++i)
            c.directory.PhoneTable.appendRecord({"Resident " + QByteArray::number(i * 7919 % 1024),
                                                 QByteArray::number(100 + i), "0123456789*#p", "1234", "5678", "12"});
    }
    c.waiter.asked = 0;
    const double cpu0 = cpuSeconds();
    QElapsedTimer t;
    t.start();
    c.page->transfer().WriteDataClick();
    const double wallS = t.nsecsElapsed() / 1e9;
    const double cpuS = cpuSeconds() - cpu0;
    const double statedS = c.waiter.asked * Waiter::kTickNs / 1e9;
    const double over = 100.0 * (wallS / statedS - 1.0);
    // What the panel holds afterwards, read back in one download.
    c.page->transfer().GetDataClick();
    std::printf("pty upload of %d entries: %d read back; wall %.3f s; stated waits %.3f s (+%.2f%%, %s 5%%); "
                "CPU %.3f s (%.1f%% of wall); messages %lld\n",
                entries, c.directory.PhoneTable.count(), wallS, statedS, over, over <= 5.0 ? "within" : "NOT within",
                cpuS, 100.0 * cpuS / wallS, qlonglong(c.prompt.messages.size()));
    return 0;
}

int benchPty(int uploadEntries)
{
    QTemporaryDir folder;
    if (benchLineDownload(folder.path(), Line::Pty) != 0)
        return 1;
    return uploadEntries > 0 ? benchPtyUpload(folder.path(), uploadEntries) : 0;
}

int benchNet(const QByteArray &only)
{
    QTemporaryDir folder;
    for (Line line : {Line::Pty, Line::Tcp, Line::Ser2netTcp, Line::Rfc2217})
        if ((only.isEmpty() || only == lineName(line)) && benchLineDownload(folder.path(), line) != 0)
            return 1;
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const bool pty = argc > 1 && QByteArray(argv[1]) == "pty";
    const bool net = argc > 1 && QByteArray(argv[1]) == "net";
    const int countArg = pty ? 2 : 1;
    const int uploadEntries = argc > countArg ? std::clamp(QByteArray(argv[countArg]).toInt(), 0, 1024) : 1024;
    if (pty || net) {
        // The page needs a window system; none has to be on screen.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return pty ? benchPty(uploadEntries) : benchNet(argc > 2 ? QByteArray(argv[2]) : QByteArray());
    }
    QCoreApplication app(argc, argv);
    benchFile();
    benchSpreadsheet();
    benchDownload();
    if (uploadEntries > 0)
        benchUpload(uploadEntries);
    return 0;
}
