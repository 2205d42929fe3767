#include "cli/SitesBackup.h"

#include "cli/CliConsole.h"
#include "link/PortAddress.h"
#include "sites/SiteBook.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QTimer>
#include <functional>
#include <list>
#include <memory>

namespace {

QByteArray text(const QString &line)
{
    return (line + QLatin1Char('\n')).toLocal8Bit();
}

QString lastLine(const QByteArray &bytes)
{
    const QList<QByteArray> lines = bytes.trimmed().split('\n');
    return lines.isEmpty() ? QString() : QString::fromLocal8Bit(lines.constLast().trimmed());
}

} // namespace

SitesBackup::SitesBackup(CliConsole &console, QString program, QString bookFile)
    : console_(console)
    , program_(std::move(program))
    , bookFile_(std::move(bookFile))
{
}

QString SitesBackup::lineKey(const QString &address)
{
    const std::optional<PortAddress> parsed = PortAddress::parse(address);
    return (parsed ? parsed->toString() : address.trimmed()).toLower();
}

QString SitesBackup::line(const Result &r)
{
    QString what = r.message;
    if (r.ok && r.newEvents > 0)
        what += QStringLiteral(" (%1 new events)").arg(r.newEvents);
    return QStringLiteral("%1: %2, %3, %4 s")
        .arg(r.site, r.ok ? QStringLiteral("ok") : QStringLiteral("failed"), what)
        .arg(r.durationS, 0, 'f', 1);
}

int SitesBackup::exitFor(const QList<Result> &results)
{
    bool anyFailed = false;
    bool anyReached = false;
    for (const Result &r : results) {
        anyFailed = anyFailed || !r.ok;
        anyReached = anyReached || r.reached;
    }
    if (!anyFailed)
        return 0;
    return anyReached ? 1 : 3;
}

SitesBackup::Result SitesBackup::parse(const QString &site, const QByteArray &out, const QByteArray &err,
                                       int exitCode, bool crashed)
{
    Result r;
    r.site = site;
    const QJsonObject o = QJsonDocument::fromJson(lastLine(out).toUtf8()).object();
    if (crashed || o.isEmpty() || o.value(QStringLiteral("result")).toString().isEmpty()) {
        const QString said = lastLine(err);
        r.message = crashed ? QStringLiteral("The backup's process stopped before it finished")
                            : QStringLiteral("The backup's process gave no result (exit status %1)").arg(exitCode);
        if (!said.isEmpty())
            r.message += QStringLiteral(": ") + said;
        return r;
    }
    r.ok = o.value(QStringLiteral("result")).toString() == QLatin1String("ok") && exitCode == 0;
    r.exit = o.value(QStringLiteral("exit")).toInt(exitCode);
    r.reached = o.value(QStringLiteral("reached")).toBool();
    r.message = o.value(QStringLiteral("message")).toString();
    r.model = o.value(QStringLiteral("model")).toString();
    r.newEvents = o.value(QStringLiteral("new_events")).toInt();
    for (const QJsonValue &v : o.value(QStringLiteral("changed")).toArray())
        r.changed << v.toString();
    return r;
}

int SitesBackup::run(const QList<Site> &sites, int parallel, bool json)
{
    struct Running
    {
        Site site;
        std::unique_ptr<QProcess> process;
        QElapsedTimer clock;
        QString key;
    };
    QList<Site> waiting = sites;
    std::list<Running> running;
    QSet<QString> busyLines;
    QList<Result> results;
    QEventLoop loop;
    QElapsedTimer total;
    total.start();

    std::function<void()> startMore;
    const auto finished = [&](Running *job, bool timedOut) {
        QProcess &p = *job->process;
        Result r = timedOut ? Result{}
                            : parse(job->site.name, p.readAllStandardOutput(), p.readAllStandardError(), p.exitCode(),
                                    p.exitStatus() == QProcess::CrashExit);
        if (timedOut) {
            r.site = job->site.name;
            r.message = QStringLiteral("No result within %1 minutes; the backup was stopped").arg(kSiteTimeoutMs / 60000);
        }
        r.durationS = double(job->clock.elapsed()) / 1000.0;
        QString error;
        SiteBook book(bookFile_);
        if (!book.recordBackup(job->site.id, QDateTime::currentDateTimeUtc(), r.ok, r.message, &error))
            console_.err(text(QStringLiteral("Warning: %1: %2").arg(job->site.name, error)));
        if (!json)
            console_.out(text(line(r)));
        results << r;
        busyLines.remove(job->key);
        for (auto it = running.begin(); it != running.end(); ++it)
            if (&*it == job) {
                it->process.release()->deleteLater();
                running.erase(it);
                break;
            }
        startMore();
    };
    startMore = [&] {
        for (qsizetype i = 0; i < waiting.size() && int(running.size()) < parallel;) {
            const QString key = lineKey(waiting.at(i).address);
            if (busyLines.contains(key)) {
                ++i;
                continue;
            }
            running.push_back(Running{waiting.takeAt(i), std::make_unique<QProcess>(), {}, key});
            Running *job = &running.back();
            busyLines.insert(key);
            QProcess &p = *job->process;
            p.setProgram(program_);
            p.setArguments({QStringLiteral("sites"), QStringLiteral("backup-one"), job->site.name,
                            QStringLiteral("--book"), bookFile_});
            p.setStandardInputFile(QProcess::nullDevice());
            QObject::connect(&p, &QProcess::finished, &loop, [&, job] { finished(job, false); });
            QObject::connect(&p, &QProcess::errorOccurred, &loop, [&, job](QProcess::ProcessError e) {
                if (e == QProcess::FailedToStart)
                    finished(job, false);
            });
            QTimer::singleShot(kSiteTimeoutMs, job->process.get(), [&, job] {
                job->process->disconnect();
                job->process->kill();
                job->process->waitForFinished(5000);
                finished(job, true);
            });
            job->clock.start();
            p.start();
        }
        if (running.empty() && waiting.isEmpty())
            loop.quit();
    };
    QTimer::singleShot(0, &loop, startMore);
    loop.exec();

    const int exit = exitFor(results);
    int ok = 0;
    int changed = 0;
    for (const Result &r : std::as_const(results)) {
        ok += r.ok ? 1 : 0;
        changed += r.ok && !r.changed.isEmpty() ? 1 : 0;
    }
    if (json) {
        QJsonArray array;
        for (const Result &r : std::as_const(results)) {
            QJsonArray kinds;
            for (const QString &k : r.changed)
                kinds.append(k);
            QJsonObject o;
            o.insert(QStringLiteral("site"), r.site);
            o.insert(QStringLiteral("result"), r.ok ? QStringLiteral("ok") : QStringLiteral("failed"));
            o.insert(QStringLiteral("message"), r.message);
            o.insert(QStringLiteral("changed"), kinds);
            o.insert(QStringLiteral("new_events"), r.newEvents);
            o.insert(QStringLiteral("model"), r.model);
            o.insert(QStringLiteral("duration_s"), r.durationS);
            array.append(o);
        }
        console_.out(QJsonDocument(array).toJson(QJsonDocument::Compact) + '\n');
    } else {
        console_.out(text(QStringLiteral("%1 of %2 sites backed up (%3 with changes), %4 failed, in %5 s")
                              .arg(ok)
                              .arg(results.size())
                              .arg(changed)
                              .arg(results.size() - ok)
                              .arg(double(total.elapsed()) / 1000.0, 0, 'f', 1)));
    }
    return exit;
}
