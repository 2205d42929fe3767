#include "support/Ser2net.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTcpServer>
#include <QThread>

namespace {
quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// Whether something listens on the loopback port, without connecting to it
// (a connection would make ser2net open the device).
bool listening(quint16 port)
{
    QFile table(QStringLiteral("/proc/net/tcp"));
    if (!table.open(QIODevice::ReadOnly))
        return false;
    const QByteArray local = QByteArray("0100007F:") + QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
    for (const QByteArray &line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() > 3 && fields.at(1) == local && fields.at(3) == "0A") // 0A: LISTEN
            return true;
    }
    return false;
}
} // namespace

Ser2net::~Ser2net()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(3000))
            process_.kill();
        process_.waitForFinished(3000);
    }
}

QString Ser2net::program()
{
    QString found = QStandardPaths::findExecutable(QStringLiteral("ser2net"));
    if (found.isEmpty())
        found = QStandardPaths::findExecutable(QStringLiteral("ser2net"),
                                               {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin")});
    return found;
}

QString Ser2net::url() const
{
    return QStringLiteral("%1://127.0.0.1:%2").arg(mode_ == Mode::Raw ? "tcp" : "rfc2217").arg(port_);
}

bool Ser2net::start(const QString &device, QString *error, Mode mode)
{
    mode_ = mode;
    const QString ser2net = program();
    if (ser2net.isEmpty()) {
        *error = QStringLiteral("ser2net is not installed");
        return false;
    }
    port_ = freePort();
    const QString config = dir_.filePath(QStringLiteral("ser2net.yaml"));
    QFile file(config);
    const QByteArray yaml = QStringLiteral("%YAML 1.1\n---\n"
                                           "connection: &panel\n"
                                           "    accepter: %1tcp,127.0.0.1,%2\n"
                                           "    connector: serialdev,%3,57600n81,local\n")
                                .arg(mode == Mode::Raw ? "" : "telnet(rfc2217),")
                                .arg(port_)
                                .arg(device)
                                .toLocal8Bit();
    if (!file.open(QIODevice::WriteOnly) || file.write(yaml) != yaml.size()) {
        *error = QStringLiteral("cannot write %1").arg(config);
        return false;
    }
    file.close();
    // -d: in the foreground, logging to standard output; -u: no UUCP lock files.
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(ser2net, {QStringLiteral("-d"), QStringLiteral("-u"), QStringLiteral("-c"), config});
    if (!process_.waitForStarted(5000)) {
        *error = QStringLiteral("cannot start %1: %2").arg(ser2net, process_.errorString());
        return false;
    }
    QElapsedTimer waited;
    waited.start();
    while (!listening(port_)) {
        if (process_.state() == QProcess::NotRunning || waited.elapsed() > 5000) {
            *error = QStringLiteral("ser2net does not listen on port %1: %2")
                         .arg(port_)
                         .arg(QString::fromLocal8Bit(process_.readAll()));
            return false;
        }
        QThread::msleep(10);
    }
    return true;
}
