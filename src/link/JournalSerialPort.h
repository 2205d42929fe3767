#pragma once

#include "link/SerialPort.h"
#include "link/TrafficJournal.h"

#include <functional>

// The serial port with a traffic journal on it: every call goes to the port
// underneath, and what was written, read, opened, closed or lost goes to the
// journal as well. The journal only watches; whether it can write or not, the
// port behaves exactly as it does without it.
class JournalSerialPort : public SerialPort
{
    Q_OBJECT
public:
    // describe: the port and its device for the journal's open line
    // ("COM2 (/dev/ttyUSB1)"); the port name when not given.
    JournalSerialPort(SerialPort &line, TrafficJournal &journal, std::function<QString()> describe = {},
                      QObject *parent = nullptr);

    void setPortName(const QString &name) override { line_.setPortName(name); }
    QString portName() const override { return line_.portName(); }
    void setDtrEnabled(bool on) override { line_.setDtrEnabled(on); }
    void setRtsEnabled(bool on) override { line_.setRtsEnabled(on); }
    void setOneStopBit(bool one) override { line_.setOneStopBit(one); }

    bool open(QString *error) override;
    void close() override;
    bool isOpen() const override { return line_.isOpen(); }

    bool write(const QByteArray &bytes, QString *error) override;
    qint64 bytesAvailable() const override { return line_.bytesAvailable(); }
    QByteArray read(qint64 maxBytes) override;
    void setStreaming(bool on) override { line_.setStreaming(on); }
    void collect() override { line_.collect(); }

    TrafficJournal &journal() { return journal_; }

private:
    QString description() const;

    SerialPort &line_;
    TrafficJournal &journal_;
    std::function<QString()> describe_;
};
