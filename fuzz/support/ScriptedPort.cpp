#include "support/ScriptedPort.h"

void ScriptedPort::deliver()
{
    while (open_ && !pending_.isEmpty()) {
        const qsizetype n = plan_.next(pending_.size());
        inbox_ += pending_.left(n);
        pending_.remove(0, n);
        emit readyRead();
    }
}

bool ScriptedPort::open(QString *)
{
    open_ = true;
    return true;
}

void ScriptedPort::close()
{
    open_ = false;
    command_.clear();
    pending_.clear();
    inbox_.clear();
}

bool ScriptedPort::write(const QByteArray &bytes, QString *)
{
    written_ += bytes;
    for (char c : bytes) {
        if (c != '\r') {
            command_ += c;
            continue;
        }
        if (responder_)
            pending_ += responder_(command_);
        command_.clear();
    }
    return true;
}

QByteArray ScriptedPort::read(qint64 maxBytes)
{
    const QByteArray out = inbox_.left(maxBytes);
    inbox_.remove(0, out.size());
    return out;
}
