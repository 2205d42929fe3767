#include "support/FakePanelPort.h"

FakePanelPort::FakePanelPort(Scheduler &scheduler, QObject *parent)
    : SerialPort(parent)
    , scheduler_(scheduler)
{
}

bool FakePanelPort::open(QString *error)
{
    if (openFails_) {
        if (error)
            *error = openError_;
        return false;
    }
    open_ = true;
    ++openCount_;
    ++session_;
    pending_.clear();
    return true;
}

void FakePanelPort::close()
{
    if (!open_)
        return;
    open_ = false;
    ++closeCount_;
    ++session_;
    inbox_.clear();
}

void FakePanelPort::clearLog()
{
    written_.clear();
    commands_.clear();
    commandTimes_.clear();
}

bool FakePanelPort::write(const QByteArray &bytes, QString *error)
{
    if (!open_) {
        if (error)
            *error = QStringLiteral("not open");
        return false;
    }
    written_.append(bytes);
    for (char c : bytes) {
        if (c != '\r') {
            pending_.append(c);
            continue;
        }
        const QByteArray command = pending_;
        pending_.clear();
        commands_.append(command);
        commandTimes_.append(scheduler_.nowNs());
        if (responder_) {
            const QByteArray reply = responder_(command);
            if (!reply.isEmpty())
                deliver(reply, latencyNs_);
        }
    }
    return true;
}

void FakePanelPort::inject(const QByteArray &bytes, qint64 delayNs)
{
    deliver(bytes, delayNs);
}

void FakePanelPort::dropLine(const QString &reason)
{
    if (!open_)
        return;
    close();
    emit connectionLost(reason);
}

void FakePanelPort::deliver(const QByteArray &bytes, qint64 delayNs)
{
    const int size = chunkSize_ > 0 ? chunkSize_ : int(bytes.size());
    const quint64 session = session_;
    for (qsizetype start = 0; start < bytes.size(); start += size) {
        const QByteArray chunk = bytes.mid(start, size);
        const qint64 at = delayNs + byteTimeNs_ * (start + chunk.size());
        scheduler_.in(at, [this, chunk, session] {
            if (!open_ || session != session_)
                return;
            inbox_.append(chunk);
            emit readyRead();
        });
    }
}

QByteArray FakePanelPort::read(qint64 maxBytes)
{
    const QByteArray out = inbox_.left(maxBytes);
    inbox_.remove(0, out.size());
    return out;
}
