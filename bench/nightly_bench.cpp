// corvalen-cli sites backup over many virtual 1000 models with full
// directories behind TCP ports, at the panel's line rate: the wall time of
// the whole night against two panels done one after the other (the line is
// the limit when the two are close), the job's CPU (the program and every
// site's process), the largest single process and the most the job's
// processes held at once. The panels run in this process, so that fifty of
// them load the machine less than the job does; their CPU is not the job's.
//
//   nightly_bench [sites] [parallel]      (default 50 sites, 25 at a time)
#include "TcpPanelServer.h"
#include "sites/PinFile.h"
#include "sites/SiteBook.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <sys/resource.h>
#include <vector>

namespace {

QByteArray entryText(int record)
{
    return QByteArray::number(record) + ",1234,5678,12,0123456789:;<,Resident " + QByteArray::number(record);
}

double childCpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// The memory of a process and all its descendants, in kB, from one of its
// lines in /proc/PID/smaps_rollup: "Rss:" counts the shared libraries in
// every process, "Pss:" shares them out among the processes using them.
qint64 treeKb(qint64 pid, const QByteArray &key)
{
    qint64 total = 0;
    QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (rollup.open(QIODevice::ReadOnly))
        for (const QByteArray &line : rollup.readAll().split('\n'))
            if (line.startsWith(key))
                total += line.mid(key.size()).trimmed().split(' ').value(0).toLongLong();
    QFile children(QStringLiteral("/proc/%1/task/%1/children").arg(pid));
    if (children.open(QIODevice::ReadOnly))
        for (const QByteArray &child : children.readAll().split(' '))
            if (!child.trimmed().isEmpty())
                total += treeKb(child.trimmed().toLongLong(), key);
    return total;
}

struct Night
{
    double wallS = 0;
    double cpuS = 0;
    qint64 peakRssKb = 0;
    qint64 peakPssKb = 0;
    int exit = -1;
};

Night backup(const QString &config, const QStringList &which, int parallel)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    process.setProcessEnvironment(env);
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    Night night;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        night.peakRssKb = qMax(night.peakRssKb, treeKb(process.processId(), "Rss:"));
        night.peakPssKb = qMax(night.peakPssKb, treeKb(process.processId(), "Pss:"));
    });
    sampler.start(100);
    const double cpuBefore = childCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    process.start(QStringLiteral(CORVALEN_CLI_EXECUTABLE),
                  QStringList{QStringLiteral("sites"), QStringLiteral("backup"), QStringLiteral("--parallel"),
                              QString::number(parallel)}
                      + which);
    loop.exec();
    night.wallS = double(wall.elapsed()) / 1000.0;
    night.cpuS = childCpuSeconds() - cpuBefore;
    night.exit = process.exitCode();
    // The sites that failed, as the job said them.
    for (const QByteArray &line : process.readAllStandardOutput().split('\n'))
        if (line.contains(": failed,"))
            std::printf("  %s\n", line.constData());
    return night;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int sites = args.size() > 1 ? args.at(1).toInt() : 50;
    const int parallel = args.size() > 2 ? args.at(2).toInt() : 25;
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("config"));
    SiteBook book(config + QStringLiteral("/Corvalen-Pro/sites.txt"));
    std::vector<std::unique_ptr<PanelEngine>> engines;
    std::vector<std::unique_ptr<TcpPanelServer>> servers;
    QStringList names;
    for (int i = 0; i < sites; ++i) {
        auto engine = std::make_unique<PanelEngine>(QStringLiteral("1000"));
        for (int record = 128; record <= 1152; ++record)
            engine->memory().setRecord(record, entryText(record));
        auto server = std::make_unique<TcpPanelServer>(*engine, QHostAddress::LocalHost, 0);
        QString error;
        if (!server->open(&error)) {
            std::fprintf(stderr, "nightly_bench: %s\n", qPrintable(error));
            return 1;
        }
        Site site;
        site.name = QStringLiteral("Site %1").arg(i + 1, 2, 10, QLatin1Char('0'));
        site.address = server->devicePath();
        site.folder = dir.filePath(site.name);
        site.pinKeeping = Site::PinKeeping::PinFile;
        const std::optional<Site> added = book.add(site, &error);
        if (!added || !PinFile::write(added->pinFilePath(), "1234", &error)) {
            std::fprintf(stderr, "nightly_bench: %s\n", qPrintable(error));
            return 1;
        }
        names << site.name;
        engines.push_back(std::move(engine));
        servers.push_back(std::move(server));
    }
    std::printf("%d virtual 1000 models, full directories (1,025 records), TCP at 57600 baud\n", sites);
    const Night two = backup(config, names.mid(0, 2), 1);
    std::printf("two panels one after the other:   wall %6.1f s  CPU %5.1f s  exit %d\n", two.wallS, two.cpuS, two.exit);
    const Night all = backup(config, {QStringLiteral("--all")}, parallel);
    std::printf("%d panels, --parallel %d:         wall %6.1f s  CPU %5.1f s  exit %d\n", sites, parallel, all.wallS,
                all.cpuS, all.exit);
    std::printf("wall time against two panels:     %+.1f %%\n", (all.wallS / two.wallS - 1.0) * 100.0);
    std::printf("the job's CPU:                    %.1f %% of one core over the night\n", all.cpuS / all.wallS * 100.0);
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    std::printf("largest single process:           %.1f MB (ru_maxrss)\n", double(u.ru_maxrss) / 1024.0);
    std::printf("the job's processes at once:      %.1f MB proportional (Pss), %.1f MB resident (Rss, the shared\n"
                "                                  libraries counted in every process), at most, sampled every 100 ms\n",
                double(all.peakPssKb) / 1024.0, double(all.peakRssKb) / 1024.0);
    return 0;
}
