#include "link/JournalSerialPort.h"

JournalSerialPort::JournalSerialPort(SerialPort &line, TrafficJournal &journal, std::function<QString()> describe,
                                     QObject *parent)
    : SerialPort(parent)
    , line_(line)
    , journal_(journal)
    , describe_(std::move(describe))
{
    connect(&line_, &SerialPort::readyRead, this, &SerialPort::readyRead);
    connect(&line_, &SerialPort::connectionLost, this, [this](const QString &reason) {
        journal_.note(QStringLiteral("connection lost: %1").arg(reason));
        journal_.flush();
        emit connectionLost(reason);
    });
}

QString JournalSerialPort::description() const
{
    return describe_ ? describe_() : line_.portName();
}

bool JournalSerialPort::open(QString *error)
{
    const bool wasOpen = line_.isOpen();
    QString why;
    const bool opened = line_.open(&why);
    if (!wasOpen) {
        journal_.note(opened ? QStringLiteral("open %1").arg(description())
                             : QStringLiteral("open %1 failed: %2").arg(description(), why));
        if (!opened)
            journal_.flush();
    }
    if (error)
        *error = why;
    return opened;
}

void JournalSerialPort::close()
{
    const bool wasOpen = line_.isOpen();
    line_.close();
    if (wasOpen) {
        journal_.note(QStringLiteral("close"));
        journal_.flush();
    }
}

bool JournalSerialPort::write(const QByteArray &bytes, QString *error)
{
    QString why;
    const bool written = line_.write(bytes, &why);
    journal_.sent(bytes);
    if (!written)
        journal_.note(QStringLiteral("the write above failed: %1").arg(why));
    if (error)
        *error = why;
    return written;
}

QByteArray JournalSerialPort::read(qint64 maxBytes)
{
    const QByteArray bytes = line_.read(maxBytes);
    journal_.received(bytes);
    return bytes;
}
