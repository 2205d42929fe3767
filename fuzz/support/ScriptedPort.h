#pragma once

#include "link/SerialPort.h"
#include "support/ChunkPlan.h"

#include <functional>

// A serial port whose panel answers from a script: every command written
// (the bytes up to a CR) goes to the responder, and its answer waits until
// the next deliver(), which hands it to the receive handler in the chunks
// of the plan. No time, no threads: the same input runs the same way.
class ScriptedPort : public SerialPort
{
public:
    // Gets the command without its CR; returns what the panel sends back.
    using Responder = std::function<QByteArray(const QByteArray &command)>;

    void setResponder(Responder responder) { responder_ = std::move(responder); }
    void setChunkPlan(ChunkPlan plan) { plan_ = plan; }

    // Bytes the panel sends of its own accord, delivered with the rest.
    void inject(const QByteArray &bytes) { pending_ += bytes; }
    // Every pending byte to the receive handler, chunk by chunk.
    void deliver();
    bool hasPending() const { return !pending_.isEmpty(); }

    QByteArray written() const { return written_; }

    void setPortName(const QString &name) override { name_ = name.toUpper(); }
    QString portName() const override { return name_; }
    void setDtrEnabled(bool) override {}
    void setRtsEnabled(bool) override {}
    void setOneStopBit(bool) override {}
    bool open(QString *) override;
    void close() override;
    bool isOpen() const override { return open_; }
    bool write(const QByteArray &bytes, QString *error) override;
    qint64 bytesAvailable() const override { return inbox_.size(); }
    QByteArray read(qint64 maxBytes) override;

private:
    Responder responder_;
    ChunkPlan plan_;
    QString name_ = QStringLiteral("COM2");
    bool open_ = false;
    QByteArray command_;
    QByteArray written_;
    QByteArray pending_;
    QByteArray inbox_;
};
