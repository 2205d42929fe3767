#pragma once

#include "link/SerialPort.h"

#include <functional>

// A serial port that counts what passes through it: every call goes to the
// port underneath, and the bytes written to it and read from it since the
// last open are counted. Tests compare the counts with what the panel's
// side took in and sent, to know that nothing is still on its way.
class CountingSerialPort : public SerialPort
{
    Q_OBJECT
public:
    explicit CountingSerialPort(SerialPort &line, QObject *parent = nullptr);

    SerialPort &line() const { return line_; }
    qint64 bytesWritten() const { return written_; }
    qint64 bytesRead() const { return read_; }
    // Runs before every open of a closed port.
    std::function<void()> beforeOpen;

    void setPortName(const QString &name) override { line_.setPortName(name); }
    QString portName() const override { return line_.portName(); }
    void setDtrEnabled(bool on) override { line_.setDtrEnabled(on); }
    void setRtsEnabled(bool on) override { line_.setRtsEnabled(on); }
    void setOneStopBit(bool one) override { line_.setOneStopBit(one); }

    bool open(QString *error) override;
    void close() override { line_.close(); }
    bool isOpen() const override { return line_.isOpen(); }

    bool write(const QByteArray &bytes, QString *error) override;
    qint64 bytesAvailable() const override { return line_.bytesAvailable(); }
    QByteArray read(qint64 maxBytes) override;
    void setStreaming(bool on) override { line_.setStreaming(on); }
    void collect() override { line_.collect(); }

private:
    SerialPort &line_;
    qint64 written_ = 0;
    qint64 read_ = 0;
};
