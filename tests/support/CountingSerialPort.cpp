#include "support/CountingSerialPort.h"

CountingSerialPort::CountingSerialPort(SerialPort &line, QObject *parent)
    : SerialPort(parent)
    , line_(line)
{
    connect(&line_, &SerialPort::readyRead, this, &SerialPort::readyRead);
    connect(&line_, &SerialPort::connectionLost, this, &SerialPort::connectionLost);
}

bool CountingSerialPort::open(QString *error)
{
    if (line_.isOpen())
        return line_.open(error);
    if (beforeOpen)
        beforeOpen();
    if (!line_.open(error))
        return false;
    written_ = read_ = 0;
    return true;
}

bool CountingSerialPort::write(const QByteArray &bytes, QString *error)
{
    if (!line_.write(bytes, error))
        return false;
    written_ += bytes.size();
    return true;
}

QByteArray CountingSerialPort::read(qint64 maxBytes)
{
    const QByteArray bytes = line_.read(maxBytes);
    read_ += bytes.size();
    return bytes;
}
