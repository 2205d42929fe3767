#include "Cell.h"

#include "BackupCheck.h"
#include "Exchange.h"
#include "MatrixRig.h"

#include <QApplication>
#include <QCryptographicHash>

#include <csignal>
#include <cstdio>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr double kByteMs = 10.0 * 1000.0 / 57600.0; // one byte on the line

// The stated waits, the reply's time on the line, and what the fault itself
// adds (a pause or a latency before replies).
qint64 boundMs(const Exchange &x, const Fault &f, const LineStats &line)
{
    double ms = double(x.boundTicks) * 0.864 + double(line.bytes) * kByteMs * 1.25 + 500;
    if (qstrcmp(f.name, "pause") == 0)
        ms += 2000.0 * line.commands;
    if (qstrcmp(f.name, "latency") == 0)
        ms += 150.0 * line.commands;
    return qint64(ms);
}

void writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0)
            return;
        done += n;
    }
}

// In the child: the cell itself.
Cell judge(const Exchange &x, const Fault &f, const Cell *clean, int fd)
{
    MatrixRig r;
    Cell cell;
    const LineStats stats = clean ? clean->line : LineStats{};
    r.onHang = [&] {
        Cell hung;
        hung.mark = Cell::Mark::Fail;
        hung.reason = QStringLiteral("hang: still waiting after %1 s").arg((r.clock.nowNs() - 0) / 1000000000);
        writeAll(fd, hung.serialise());
        ::_exit(0);
    };
    if (x.faultsFromStart)
        f.apply(r, stats);
    if (!x.prepare(r)) {
        cell.mark = Cell::Mark::Fail;
        cell.reason = QStringLiteral("could not prepare on a good line");
        return cell;
    }
    const QByteArray before = x.userData(r);
    const QByteArray panelBefore = x.keepsBackup ? BackupCheck::panelHolds(r, *x.keepsBackup) : QByteArray();
    const QByteArray filesBefore = r.userFiles();
    r.prompt.messages.clear();
    r.port.clearLog();
    r.panel.clearCounts();
    const qint64 t0 = r.clock.nowNs();
    cell.boundMs = boundMs(x, f, stats);
    r.capNs = t0 + 3 * cell.boundMs * 1000000 + 120'000'000'000LL;
    if (!x.faultsFromStart)
        f.apply(r, stats);

    x.run(r);

    cell.elapsedMs = (r.clock.nowNs() - t0) / 1000000;
    const std::optional<QByteArray> backup = x.keepsBackup ? BackupCheck::keptHolds(r, *x.keepsBackup) : std::nullopt;
    r.settle(); // what the exchange left queued runs once it has ended
    cell.line.bytes = r.panel.bytesSent();
    cell.line.longest = r.panel.longestOutput();
    for (const QByteArray &c : r.port.commands())
        cell.line.words.insert(c.isEmpty() ? '\r' : c.at(0));
    cell.line.commands = int(r.port.commands().size());
    cell.fingerprint = QCryptographicHash::hash(x.fingerprint(r), QCryptographicHash::Sha1).toHex().left(12);

    if (qEnvironmentVariableIsSet("FAULT_MATRIX_DEBUG")) {
        std::fprintf(stderr, "-- %s / %s\nmessages: %s\nstatus: %s\ncommands:", x.name, f.name,
                     qPrintable(r.prompt.messages.join(QLatin1Char('|'))), qPrintable(r.statusText()));
        for (const QByteArray &c : r.port.commands())
            std::fprintf(stderr, " %s", c.left(12).toHex().constData());
        std::fprintf(stderr, "\nresult:\n%s\n", x.fingerprint(r).constData());
    }
    const bool claims = x.claimsSuccess(r);
    const bool reports = x.reportsFailure(r);
    if (!clean) {
        const bool fine = !reports && (claims || x.showsNothing);
        cell.mark = fine ? Cell::Mark::Ok : Cell::Mark::Fail;
        if (!fine)
            cell.reason = QStringLiteral("fails on a good line: ") + r.prompt.messages.join(QLatin1Char('/'));
        return cell;
    }
    const bool worked = cell.fingerprint == clean->fingerprint;
    QStringList problems;
    if (cell.elapsedMs > cell.boundMs)
        problems << QStringLiteral("took %1 s, its waits allow %2 s").arg(cell.elapsedMs / 1000.0, 0, 'f', 1).arg(cell.boundMs / 1000.0, 0, 'f', 1);
    if (claims && !worked)
        problems << QStringLiteral("claims success, result differs");
    if (!claims && !reports && !worked)
        problems << QStringLiteral("fails without a word");
    if (reports && !worked) {
        // The rig types the panel's own PIN: a report that blames it names
        // a failure that did not happen.
        if (r.prompt.messages.join(QLatin1Char('\n')).contains(QLatin1String("Check PIN")))
            problems << QStringLiteral("blames the PIN, which was right");
        else if (f.named && !f.named(QStringList(r.prompt.messages) << (x.pageProblem ? x.pageProblem(r) : QString()) << r.statusText()))
            problems << QString::fromLatin1(f.unnamed);
    }
    if (!x.keeps(before, x.userData(r), worked))
        problems << QStringLiteral("user's table lost");
    if (r.userFiles() != filesBefore)
        problems << QStringLiteral("user's file changed");
    if (backup && *backup != panelBefore)
        problems << QStringLiteral("kept a backup that does not hold what the panel held");
    if (!problems.isEmpty()) {
        cell.mark = Cell::Mark::Fail;
        cell.reason = problems.join(QStringLiteral("; "));
    } else {
        cell.mark = worked ? Cell::Mark::Ok : Cell::Mark::FailedAndSaidSo;
    }
    return cell;
}

} // namespace

Cell Cell::run(const Exchange &exchange, const Fault &fault, const Cell *clean, int realTimeoutS)
{
    int fds[2];
    if (::pipe(fds) != 0) {
        Cell c;
        c.mark = Mark::Fail;
        c.reason = QStringLiteral("no pipe");
        return c;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        int argc = 1;
        char name[] = "fault_matrix";
        char *argv[] = {name, nullptr};
        QApplication app(argc, argv);
        const Cell cell = judge(exchange, fault, clean, fds[1]);
        writeAll(fds[1], cell.serialise());
        ::_exit(0);
    }
    ::close(fds[1]);
    QByteArray text;
    bool timedOut = false;
    for (;;) {
        pollfd p{fds[0], POLLIN, 0};
        const int ready = ::poll(&p, 1, realTimeoutS * 1000);
        if (ready == 0) {
            timedOut = true;
            ::kill(pid, SIGKILL);
            break;
        }
        char buffer[4096];
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        text.append(buffer, n);
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    Cell cell;
    if (timedOut) {
        cell.mark = Mark::Fail;
        cell.reason = QStringLiteral("hang: no end after %1 s of real time").arg(realTimeoutS);
    } else if (WIFSIGNALED(status)) {
        cell.mark = Mark::Fail;
        cell.reason = QStringLiteral("crash: signal %1 (%2)").arg(WTERMSIG(status)).arg(QString::fromLatin1(strsignal(WTERMSIG(status))));
    } else if (text.isEmpty()) {
        cell.mark = Mark::Fail;
        cell.reason = QStringLiteral("crash: exit %1 without a result").arg(WEXITSTATUS(status));
    } else {
        cell = parse(text);
    }
    return cell;
}

QByteArray Cell::serialise() const
{
    QByteArray words;
    for (char w : line.words)
        words += w;
    QByteArray why = reason.toUtf8();
    why.replace('\t', ' ').replace('\n', ' ');
    return QByteArray::number(int(mark)) + '\t' + why + '\t' + QByteArray::number(elapsedMs) + '\t'
           + QByteArray::number(boundMs) + '\t' + QByteArray::number(line.bytes) + '\t'
           + QByteArray::number(line.longest) + '\t' + QByteArray::number(line.commands) + '\t' + words.toHex()
           + '\t' + fingerprint + '\n';
}

Cell Cell::parse(const QByteArray &text)
{
    const QList<QByteArray> f = text.trimmed().split('\t');
    Cell c;
    if (f.size() < 9) {
        c.mark = Mark::Fail;
        c.reason = QStringLiteral("crash: a broken result");
        return c;
    }
    c.mark = Mark(f[0].toInt());
    c.reason = QString::fromUtf8(f[1]);
    c.elapsedMs = f[2].toLongLong();
    c.boundMs = f[3].toLongLong();
    c.line.bytes = f[4].toLongLong();
    c.line.longest = f[5].toLongLong();
    c.line.commands = f[6].toInt();
    for (char w : QByteArray::fromHex(f[7]))
        c.line.words.insert(w);
    c.fingerprint = f[8];
    return c;
}
