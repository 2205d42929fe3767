// Figures of the whole program window (the main window with its four pages,
// status bar, lamp and animation, and the transfer window) against the
// virtual panel, which runs as the panel-sim command beside this one. CPU
// figures are this process's alone (getrusage: user + system), next to the
// wall time of the same stretch.
//
//   window_bench [upload-entries]        download of a full 1000 model and an
//                                        upload (default 104 entries), paced
//                                        at 57600 baud; ~20 s
//   window_bench a11y [upload-entries]   the same with a screen reader
//                                        listening (see ScreenReader below);
//                                        needs a platform with accessibility:
//                                        X (xcb) and an AT-SPI bus
//   window_bench [a11y] others [events]  the other transfers, paced: the
//                                        parameters read and written, the
//                                        event log (default 1,000 events),
//                                        the RFID store read and written
//   window_bench start [runs]            start to the first window: the
//                                        program's start-up run in a fresh
//                                        process with -platform offscreen,
//                                        or QT_QPA_PLATFORM's (median of 5)
//   window_bench repaint [times]         the whole main window painted again
//                                        (default 200 times), the phone list
//                                        full: what one paint costs
//   window_bench memory                  peak memory (ru_maxrss) with a full
//                                        1000-entry directory and 10,000
//                                        events downloaded (panel unpaced)

#include "app/widgets/ProgramWindows.h"
#include "directory/widgets/PhonePage.h"
#include "directory/DirectoryTransfer.h"
#include "events/widgets/EventsPage.h"
#include "parameters/widgets/SystemPage.h"
#include "rfid/widgets/RfidPage.h"
#include "link/DeviceMap.h"
#include "support/Recorders.h"
#include "support/ScriptedPin.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleInterface>
#include <QAccessibleTextInterface>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <functional>
#include <cstdio>
#include <sys/resource.h>

namespace {

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// User and system CPU seconds, and the times the process slept and woke.
struct CpuSplit
{
    double user = 0;
    double system = 0;
    long wakeups = 0;
    static CpuSplit now()
    {
        rusage u{};
        getrusage(RUSAGE_SELF, &u);
        return {double(u.ru_utime.tv_sec) + double(u.ru_utime.tv_usec) / 1e6,
                double(u.ru_stime.tv_sec) + double(u.ru_stime.tv_usec) / 1e6, u.ru_nvcsw};
    }
};

long peakKb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

// A screen reader's side of the accessibility interface, in this process:
// with it installed, QAccessible is active and every widget sends its
// events, as it does when an assistive technology is connected. For each
// event it does what the platform bridge does before a reader sees it: finds
// the object's interface, reads its role, state and name and the event's
// own payload (the text inserted or removed, the new value, the table
// change) and packs them into a message. The bus and the reader's process
// are not counted: the figures are the program's own cost of being read.
struct ScreenReader
{
    static inline qint64 events = 0;
    static inline qint64 bytes = 0;
    static inline QHash<QString, qint64> sources; // "event type on class": count

    // The commonest sources since the last call, most first.
    static QString topSources(int n)
    {
        QList<std::pair<qint64, QString>> all;
        for (auto it = sources.cbegin(); it != sources.cend(); ++it)
            all.append({it.value(), it.key()});
        std::sort(all.begin(), all.end(), std::greater<>());
        QStringList top;
        for (int i = 0; i < std::min<qsizetype>(n, all.size()); ++i)
            top << QStringLiteral("%1 %2").arg(all.at(i).first).arg(all.at(i).second);
        sources.clear();
        return top.join(QStringLiteral(", "));
    }

    // Accessibility comes on when the platform's bridge finds a reader's
    // bus (AT-SPI on Linux, asynchronously): false when it did not within
    // five seconds.
    static bool install()
    {
        QAccessible::installUpdateHandler(&ScreenReader::notify);
        QElapsedTimer t;
        t.start();
        while (!QAccessible::isActive() && t.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        return QAccessible::isActive();
    }

    static void notify(QAccessibleEvent *event)
    {
        ++events;
        const QObject *object = event->object();
        sources[QStringLiteral("0x%1 on %2")
                    .arg(int(event->type()), 0, 16)
                    .arg(object ? QLatin1String(object->metaObject()->className()) + QLatin1Char(' ') + object->objectName()
                                : QStringLiteral("?"))] += 1;
        QByteArray message;
        QDataStream out(&message, QIODevice::WriteOnly);
        out << int(event->type()) << event->child();
        QAccessibleInterface *iface = event->accessibleInterface();
        if (iface && iface->isValid()) {
            out << int(iface->role()) << quint64(iface->state().disabled) << iface->text(QAccessible::Name);
            switch (event->type()) {
            case QAccessible::TextInserted: {
                const auto *e = static_cast<QAccessibleTextInsertEvent *>(event);
                out << e->changePosition() << e->textInserted();
                break;
            }
            case QAccessible::TextRemoved: {
                const auto *e = static_cast<QAccessibleTextRemoveEvent *>(event);
                out << e->changePosition() << e->textRemoved();
                break;
            }
            case QAccessible::TextUpdated: {
                const auto *e = static_cast<QAccessibleTextUpdateEvent *>(event);
                out << e->changePosition() << e->textRemoved() << e->textInserted();
                break;
            }
            case QAccessible::TextCaretMoved:
                if (QAccessibleTextInterface *text = iface->textInterface())
                    out << text->cursorPosition();
                break;
            case QAccessible::ValueChanged:
                if (QAccessibleValueInterface *value = iface->valueInterface())
                    out << value->currentValue();
                break;
            case QAccessible::NameChanged:
            case QAccessible::DescriptionChanged:
                out << iface->text(QAccessible::Description);
                break;
            default: break;
            }
        }
        bytes += message.size();
    }
};

// The panel's memory file: a 1000 model with every directory slot in use,
// and `events` events in its log.
bool writeFullMemory(const QString &name, int events)
{
    QByteArray text = "corvalen-xarn-panel-memory 1\nmodel 1000\n";
    for (int record = 128; record <= 1152; ++record) {
        const QByteArray entry =
            QByteArray::number(record) + ",1234,5678,12,0123456789:;<,Resident%20" + QByteArray::number(record);
        text += "record " + QByteArray::number(record).rightJustified(4, '0') + " =" + entry + "\n";
    }
    const char kinds[] = "RABC";
    for (int i = 0; i < events; ++i) {
        const int minutes = i % 1440;
        const QByteArray time = "2026-02-" + QByteArray::number(1 + i / 1440 % 28).rightJustified(2, '0') + "T"
                                + QByteArray::number(minutes / 60).rightJustified(2, '0') + ":"
                                + QByteArray::number(minutes % 60).rightJustified(2, '0') + ":00";
        const char kind = kinds[i % 4];
        text += "event " + QByteArray(1, kind) + " " + time + " 1 " + QByteArray::number(i % 3) + " "
                + QByteArray::number(i % 8) + " =" + QByteArray::number(100 + i % 900) + " =Visitor%20"
                + QByteArray::number(i) + "\n";
    }
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// panel-sim beside this program; its device (through the link) as COM2.
class PanelSim
{
public:
    bool start(const QStringList &extra, const QString &link)
    {
        const QString program =
            QCoreApplication::applicationDirPath() + QStringLiteral("/../tools/panel-sim/panel-sim");
        const QStringList base{QStringLiteral("--quiet"), QStringLiteral("--no-keys"), QStringLiteral("--link"), link};
        sim_.start(program, base + extra);
        if (!sim_.waitForStarted(5000) || !sim_.waitForReadyRead(5000)) {
            std::fprintf(stderr, "cannot start %s: %s\n", qPrintable(program),
                         sim_.readAllStandardError().constData());
            return false;
        }
        return true;
    }
    ~PanelSim()
    {
        sim_.terminate();
        sim_.waitForFinished(5000);
    }

private:
    QProcess sim_;
};

// The program's windows on the panel's device, logged on through the
// log-on dialog's path with the PIN given by script; messages are recorded.
struct Program
{
    DeviceMap devices;
    RecordingPrompt prompt;
    ScriptedPin pin;
    std::unique_ptr<ProgramWindows> windows;

    bool start(const QString &device)
    {
        devices.setDevice(2, device);
        windows = std::make_unique<ProgramWindows>(devices, &prompt);
        windows->form().setLogOnDialog(&pin);
        windows->show();
        pin.answers << QByteArray("1234");
        windows->form().connection().OnLine1Click();
        if (!windows->form().link().conn().LoggedOn) {
            std::fprintf(stderr, "log-on failed: %s\n", qPrintable(prompt.messages.join(QLatin1Char('|'))));
            return false;
        }
        return true;
    }
    TCorvalenForm &form() { return windows->form(); }
};

// What the window does during a span, by event and receiver: paints,
// timers, layout and posted calls (WINDOW_BENCH_CENSUS=1 prints the most
// frequent after each figure line).
struct Census : QObject
{
    static inline Census *self = nullptr;
    QHash<QString, qint64> counts;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type t = event->type();
        if (t == QEvent::Paint || t == QEvent::Timer || t == QEvent::LayoutRequest || t == QEvent::MetaCall
            || t == QEvent::UpdateRequest || t == QEvent::Resize || t == QEvent::Move) {
            counts[QStringLiteral("%1 %2 %3")
                       .arg(int(t))
                       .arg(QLatin1String(watched->metaObject()->className()))
                       .arg(watched->objectName()
                            + (watched->objectName() == QLatin1String("qt_scrollarea_viewport") && watched->parent()
                                   ? QStringLiteral(" of %1").arg(watched->parent()->objectName())
                                   : QString())
                            + (qobject_cast<QTimer *>(watched) && watched->parent()
                                   ? QStringLiteral(" of %1 %2")
                                         .arg(QLatin1String(watched->parent()->metaObject()->className()),
                                              watched->parent()->objectName())
                                   : QString())
                            + (qobject_cast<QTimer *>(watched)
                                   ? QStringLiteral(" every %1 ms").arg(qobject_cast<QTimer *>(watched)->interval())
                                   : QString()))] += 1;
        }
        return false;
    }
    static QString top(int n)
    {
        if (!self)
            return {};
        QList<std::pair<qint64, QString>> all;
        for (auto it = self->counts.cbegin(); it != self->counts.cend(); ++it)
            all.append({it.value(), it.key()});
        std::sort(all.begin(), all.end(), std::greater<>());
        QStringList lines;
        for (int i = 0; i < std::min<qsizetype>(n, all.size()); ++i)
            lines << QStringLiteral("    %1 %2").arg(all.at(i).first).arg(all.at(i).second);
        self->counts.clear();
        return QLatin1Char('\n') + lines.join(QLatin1Char('\n'));
    }
};

struct Span
{
    double cpu0 = cpuSeconds();
    CpuSplit split0 = CpuSplit::now();
    qint64 events0 = ScreenReader::events;
    QElapsedTimer wall;
    Span()
    {
        wall.start();
        ScreenReader::sources.clear();
        if (Census::self)
            Census::self->counts.clear();
    }
    QString figures() const
    {
        const double wallS = wall.nsecsElapsed() / 1e9;
        const double cpuS = cpuSeconds() - cpu0;
        QString text = QStringLiteral("wall %1 s; CPU %2 s (%3% of a core)")
                           .arg(wallS, 0, 'f', 3)
                           .arg(cpuS, 0, 'f', 3)
                           .arg(100.0 * cpuS / wallS, 0, 'f', 2);
        const CpuSplit split = CpuSplit::now();
        text += QStringLiteral(" (user %1 s, system %2 s, %3 wake-ups)")
                    .arg(split.user - split0.user, 0, 'f', 3)
                    .arg(split.system - split0.system, 0, 'f', 3)
                    .arg(split.wakeups - split0.wakeups);
        if (QAccessible::isActive())
            text += QStringLiteral("; accessibility events %1 (most: %2)")
                        .arg(ScreenReader::events - events0)
                        .arg(ScreenReader::topSources(3));
        text += Census::top(25);
        return text;
    }
};

int benchTransfers(int uploadEntries)
{
    QTemporaryDir folder;
    QDir::setCurrent(folder.path()); // the details file goes here
    const QString memory = folder.filePath(QStringLiteral("full.mem"));
    const QString device = folder.filePath(QStringLiteral("panel"));
    PanelSim sim;
    if (!writeFullMemory(memory, 0) || !sim.start({QStringLiteral("--memory"), memory}, device))
        return 1;
    Program program;
    if (!program.start(device))
        return 1;
    const char *mode = QAccessible::isActive() ? "with a screen reader" : "without accessibility";
    PhonePage &page = *program.form().phonePage();
    {
        Span span;
        page.transfer().GetDataClick();
        std::printf("window download of a full 1000 model, %s: %d entries; %s; messages %lld\n", mode,
                    program.form().context().directory.PhoneTable.count(), qPrintable(span.figures()),
                    qlonglong(program.prompt.messages.size()));
    }
    if (uploadEntries <= 0)
        return 0;
    {
        Table &table = program.form().context().directory.PhoneTable;
        Table::ControlsPause quiet(table);
        QList<QList<QByteArray>> kept;
        for (int row = 0; row < std::min(uploadEntries, table.count()); ++row)
            kept << table.row(row);
        table.emptyTable();
        for (const QList<QByteArray> &values : kept)
            table.appendRecord(values);
    }
    program.form().link().PumpWait(200); // the grid shows the list to upload before the figures start
    {
        Span span;
        page.transfer().WriteDataClick();
        std::printf("window upload of %d entries, %s: %s; messages %lld\n", uploadEntries, mode,
                    qPrintable(span.figures()), qlonglong(program.prompt.messages.size()));
    }
    {
        // Online and idle: the keep-alive and the animation.
        Span span;
        program.form().link().PumpWait(5787); // 5 s
        std::printf("window idle online for 5 s, %s: %s\n", mode, qPrintable(span.figures()));
    }
    return 0;
}

// The other transfers on a full 1000 model with `events` events in its log:
// the parameters read and written, the event log downloaded, the RFID
// store downloaded and written back, each as one span.
int benchOtherTransfers(int events)
{
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    const QString memory = folder.filePath(QStringLiteral("full.mem"));
    const QString device = folder.filePath(QStringLiteral("panel"));
    PanelSim sim;
    if (!writeFullMemory(memory, events)
        || !sim.start({QStringLiteral("--memory"), memory, QStringLiteral("--max-events"), QString::number(events)},
                      device))
        return 1;
    Program program;
    if (!program.start(device))
        return 1;
    const char *mode = QAccessible::isActive() ? "with a screen reader" : "without accessibility";
    const auto measure = [&](const char *what, const std::function<void()> &run) {
        program.form().link().PumpWait(200);
        const qsizetype messages0 = program.prompt.messages.size();
        Span span;
        run();
        std::printf("window %s, %s: %s; messages %lld\n", what, mode, qPrintable(span.figures()),
                    qlonglong(program.prompt.messages.size() - messages0));
    };
    const auto click = [&](const char *button) {
        if (auto *b = program.form().systemPage()->findChild<QAbstractButton *>(QLatin1String(button)))
            b->click();
        else
            std::fprintf(stderr, "no button %s\n", button);
    };
    program.form().PbuttClick();
    measure("parameters Read All", [&] { click("ReadAll"); });
    measure("parameters Write All", [&] { click("WriteAll"); });
    program.form().EbuttClick();
    EventsPage &log = *program.form().eventsPage();
    measure(qPrintable(QStringLiteral("event log download of %1 events").arg(events)), [&] { log.dnLoadClick(); });
    program.form().RFbuttClick();
    RfidPage &rfid = *program.form().rfidPage();
    measure("RFID store download", [&] { rfid.download_idClick(); });
    measure("RFID store Write All", [&] { rfid.writeall_idClick(); });
    return 0;
}

// The whole main window painted again `times` times, with the phone list
// full: what a paint of the window costs, and the wake-ups it causes.
int benchRepaint(int times)
{
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    DeviceMap devices;
    RecordingPrompt prompt;
    ProgramWindows windows(devices, &prompt);
    windows.show();
    Table &table = windows.form().context().directory.PhoneTable;
    {
        Table::ControlsPause quiet(table);
        for (int i = 0; i < 1025; ++i)
            table.appendRecord({QByteArray::number(100 + i), "1234", "5678", "12", "0123456789",
                                "Resident " + QByteArray::number(i), "", ""});
    }
    QCoreApplication::processEvents();
    Span span;
    for (int i = 0; i < times; ++i)
        windows.form().repaint();
    std::printf("%d paints of the whole window: %s\n", times, qPrintable(span.figures()));
    return 0;
}

int benchMemory()
{
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    const QString memory = folder.filePath(QStringLiteral("full.mem"));
    const QString device = folder.filePath(QStringLiteral("panel"));
    PanelSim sim;
    if (!writeFullMemory(memory, 10000)
        || !sim.start({QStringLiteral("--memory"), memory, QStringLiteral("--max-events"), QStringLiteral("10000"),
                       QStringLiteral("--no-pacing")},
                      device))
        return 1;
    Program program;
    if (!program.start(device))
        return 1;
    program.form().phonePage()->transfer().GetDataClick();
    program.form().EbuttClick();
    EventsPage &events = *program.form().eventsPage();
    events.dnLoadClick();
    program.form().link().PumpWait(100);
    std::printf("window with %d directory entries and %d events: peak memory %.1f MB (ru_maxrss); messages %lld\n",
                program.form().context().directory.PhoneTable.count(), events.eventLog().EventTable.count(),
                peakKb() / 1024.0, qlonglong(program.prompt.messages.size()));
    return 0;
}

// ---- Start to the first window ---------------------------------------------

// In the child: the program's start-up, then one line at the first
// exposure of the main window, once its first frame has been painted.
int startChild(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvalen-Pro"));
    DeviceMap devices = PortSettings(PortSettings::defaultFileName()).startDevices(QProcessEnvironment::systemEnvironment());
    ProgramWindows windows(devices);
    struct Watch : QObject
    {
        QWindow *window = nullptr;
        bool seen = false;
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (!seen && event->type() == QEvent::Expose && watched == window && window->isExposed()) {
                seen = true;
                // After this event's painting.
                QTimer::singleShot(0, qApp, [] {
                    std::printf("shown %.4f %ld\n", cpuSeconds(), peakKb());
                    std::fflush(stdout);
                    QCoreApplication::exit(0);
                });
            }
            return false;
        }
    } watch;
    windows.form().winId();
    watch.window = windows.form().windowHandle();
    app.installEventFilter(&watch);
    windows.show();
    return app.exec();
}

int benchStart(int runs)
{
    QTemporaryDir folder;
    QList<double> walls, cpus;
    long rss = 0;
    // offscreen unless QT_QPA_PLATFORM names another (xcb under Xvfb).
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("offscreen"));
    for (int run = 0; run < runs; ++run) {
        QProcess child;
        child.setWorkingDirectory(folder.path());
        QElapsedTimer t;
        t.start();
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("start-child"), QStringLiteral("-platform"), platform});
        QByteArray line;
        while (!line.contains('\n') && child.waitForReadyRead(10000))
            line += child.readAllStandardOutput();
        const double wall = t.nsecsElapsed() / 1e6;
        child.waitForFinished(5000);
        const QList<QByteArray> parts = line.trimmed().split(' ');
        if (parts.size() != 3 || parts.at(0) != "shown") {
            std::fprintf(stderr, "the program did not show its window: %s%s\n", line.constData(),
                         child.readAllStandardError().constData());
            return 1;
        }
        walls << wall;
        cpus << parts.at(1).toDouble() * 1000.0;
        rss = std::max(rss, parts.at(2).toLong());
    }
    std::sort(walls.begin(), walls.end());
    std::sort(cpus.begin(), cpus.end());
    std::printf("start to the first window (-platform %s): wall %.0f ms, CPU %.0f ms (medians of %d; "
                "wall %.0f-%.0f ms); peak memory %.1f MB\n",
                qPrintable(platform), walls.at(walls.size() / 2), cpus.at(cpus.size() / 2), runs, walls.first(), walls.last(),
                rss / 1024.0);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "start-child")
        return startChild(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (mode == "start")
        return benchStart(argc > 2 ? std::clamp(QByteArray(argv[2]).toInt(), 1, 50) : 5);
    if (mode == "memory")
        return benchMemory();
    if (mode == "repaint")
        return benchRepaint(argc > 2 ? std::clamp(QByteArray(argv[2]).toInt(), 1, 10000) : 200);
    Census census;
    if (qEnvironmentVariableIntValue("WINDOW_BENCH_CENSUS")) {
        Census::self = &census;
        app.installEventFilter(&census);
    }
    const bool a11y = mode == "a11y";
    if (a11y && !ScreenReader::install()) {
        std::fprintf(stderr, "accessibility did not come on: run this under an AT-SPI bus on an X display, e.g.\n"
                             "  xvfb-run -a dbus-run-session -- sh -c '/usr/libexec/at-spi-bus-launcher "
                             "--launch-immediately & sleep 1; QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "
                             "%s a11y'\n",
                     argv[0]);
        return 1;
    }
    const int countArg = a11y ? 2 : 1;
    if (argc > countArg && qstrcmp(argv[countArg], "others") == 0)
        return benchOtherTransfers(argc > countArg + 1 ? std::clamp(QByteArray(argv[countArg + 1]).toInt(), 0, 10000)
                                                       : 1000);
    const int entries = argc > countArg ? std::clamp(QByteArray(argv[countArg]).toInt(), 0, 1024) : 104;
    return benchTransfers(entries);
}
