// corvalen-cli directory get of a full 1000 model, as a script runs it: the
// program as a process against panel-sim on a pseudo-terminal paced at
// 57600 baud. Prints the wall time and the program's CPU time next to the
// time the reply's bytes need on the line plus the waits the log-on, the
// download and the log-off state.
//
//   cli_bench [runs]     (default 3; about 12 s a run)

#include "PanelEngine.h"
#include "link/Waiter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr qint64 kByteNs = 1000000000LL * 10 / 57600;

// Waits the exchange states, in ticks of 0.864 ms: the log-on at its
// quickest (the port's settling 1000, 100, the first wake-up 300, 200, 10,
// 10, the first poll for "OK" 200, and the 1-tick wait of each command),
// the download (10, 1, and the reply's tail 1000) and the log-off's command.
constexpr qint64 kLogOnTicks = 1000 + 100 + 1 + 1 + 300 + 200 + 10 + 10 + 200;
constexpr qint64 kDownloadTicks = 10 + 1 + 1000;
constexpr qint64 kLogOffTicks = 1;

QByteArray entryText(int record)
{
    return QByteArray::number(record) + ",1234,5678,12,0123456789:;<,Resident " + QByteArray::number(record);
}

bool writeFullMemory(const QString &name)
{
    QByteArray text = "corvalen-xarn-panel-memory 1\nmodel 1000\n";
    for (int record = 128; record <= 1152; ++record)
        text += "record " + QByteArray::number(record).rightJustified(4, '0') + " ="
                + entryText(record).replace(' ', "%20") + "\n";
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// The bytes of the panel's reply to the directory read, from the panel's own engine.
qint64 replyBytes()
{
    PanelEngine engine;
    for (int record = 128; record <= 1152; ++record)
        engine.memory().setRecord(record, entryText(record));
    engine.feed("\r");
    engine.feed("a1234\r");
    return engine.feed("d01281152\r").size();
}

double childCpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? qMax(1, atoi(argv[1])) : 3;
    const QString bin = QCoreApplication::applicationDirPath() + QStringLiteral("/..");
    QTemporaryDir dir;
    const QString memory = dir.filePath(QStringLiteral("full.mem"));
    const QString link = dir.filePath(QStringLiteral("panel"));
    if (!writeFullMemory(memory))
        return 1;

    QProcess sim;
    sim.start(bin + QStringLiteral("/tools/panel-sim/panel-sim"),
              {QStringLiteral("--quiet"), QStringLiteral("--no-keys"), QStringLiteral("--memory"), memory,
               QStringLiteral("--link"), link});
    if (!sim.waitForStarted(5000) || !sim.waitForReadyRead(5000)) {
        std::fprintf(stderr, "cannot start panel-sim\n");
        return 1;
    }

    const double lineS = replyBytes() * kByteNs / 1e9;
    const double statedS = (kLogOnTicks + kDownloadTicks + kLogOffTicks) * Waiter::kTickNs / 1e9;
    for (int run = 1; run <= runs; ++run) {
        QProcess cli;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("CORVALEN_PIN"), QStringLiteral("1234"));
        cli.setProcessEnvironment(env);
        const double cpu0 = childCpuSeconds();
        QElapsedTimer t;
        t.start();
        cli.start(bin + QStringLiteral("/src/cli/corvalen-cli"),
                  {QStringLiteral("--port"), link, QStringLiteral("--quiet"), QStringLiteral("--json"),
                   QStringLiteral("directory"), QStringLiteral("get"), dir.filePath(QStringLiteral("full.csv"))});
        cli.waitForFinished(120000);
        const double wallS = t.nsecsElapsed() / 1e9;
        const double cpuS = childCpuSeconds() - cpu0;
        const double over = 100.0 * (wallS / (lineS + statedS) - 1.0);
        std::printf("run %d: exit %d; wall %.3f s; line %.3f s + stated waits %.3f s = %.3f s (%+.1f%%, %s 10%%); "
                    "CPU %.3f s (%.2f%% of a core)\n  %s",
                    run, cli.exitCode(), wallS, lineS, statedS, lineS + statedS, over,
                    over <= 10.0 ? "within" : "NOT within", cpuS, 100.0 * cpuS / wallS,
                    cli.readAllStandardOutput().constData());
        std::fflush(stdout);
    }
    sim.terminate();
    sim.waitForFinished(5000);
    return 0;
}
