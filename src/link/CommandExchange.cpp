#include "link/CommandExchange.h"

#include "link/PayloadCheck.h"
#include "link/RecordNumber.h"

#include <algorithm>

namespace {
// What a refusal names of a command: its letter, and the record number of
// a record command; never its data, which may be a PIN.
QString commandName(const QByteArray &command)
{
    QByteArray name = command.left(1);
    const QByteArray record = command.mid(1, 4);
    const bool recordCommand = !name.isEmpty() && QByteArray("rwbpg").contains(name.at(0));
    if (recordCommand && record.size() == 4
        && std::all_of(record.begin(), record.end(), [](char c) { return c >= '0' && c <= '9'; }))
        name += record;
    return PayloadCheck::visibleText(name);
}
} // namespace

CommandExchange::CommandExchange(SerialPort &port, Waiter &waiter, StatusSink &status, UserPrompt &prompt,
                                 QObject *parent)
    : QObject(parent)
    , port_(port)
    , waiter_(waiter)
    , status_(status)
    , prompt_(prompt)
{
    connect(&port_, &SerialPort::readyRead, this, [this] { ComPort1RxChar(port_.bytesAvailable()); });
    connect(&port_, &SerialPort::connectionLost, this, &CommandExchange::connectionLost);
    streamingEnd_.setSingleShot(true);
    streamingEnd_.setInterval(0);
    connect(&streamingEnd_, &QTimer::timeout, this, [this] {
        if (streaming_ == 0)
            port_.setStreaming(false);
    });
}

void CommandExchange::ComPort1RxChar(qint64 count)
{
    if (count <= 0)
        return;
    const QByteArray bytes = port_.read(count);
    if (bytes.isEmpty())
        return;

    QByteArray chunk = bytes;
    if (chunk.contains('\0'))
        chunk.removeIf([](char c) { return c == '\0'; });

    ReceiveState &rx = state_.rx;
    rx.BytesReceived += bytes.size();
    rx.DataArrived = true;
    rx.ReceiveBuffer.append(chunk);
    if (!rx.EchoSuppressed)
        state_.RxMemo.append(chunk);
    rx.LineEndCount += qint32(chunk.count("\r\n")); // CR LF cannot overlap itself
    if (rx.ReceiveBuffer.endsWith("OK\r\n"))
        rx.ReplyOk = true;
}

void CommandExchange::PumpWait(qint32 ticks)
{
    beginStreaming();
    waiter_.pump(ticks);
    port_.collect();
    endStreaming();
}

void CommandExchange::beginStreaming()
{
    if (streaming_++ == 0)
        port_.setStreaming(true);
}

void CommandExchange::endStreaming()
{
    if (streaming_ > 0 && --streaming_ == 0)
        streamingEnd_.start();
}

bool CommandExchange::writeToPort(const QByteArray &text)
{
    QString error;
    if (port_.write(text, &error))
        return true;
    prompt_.message(error, UserPrompt::Kind::Error);
    return false;
}

bool CommandExchange::isWholeCommand(const QByteArray &command)
{
    QByteArray body = command;
    if (body.endsWith('\r'))
        body.chop(1);
    // A record's NUL filling at the end (the scrolling messages) belongs to
    // the record; a NUL with data after it does not.
    while (body.endsWith('\0'))
        body.chop(1);
    return !PayloadCheck::holdsLineControl(body);
}

bool CommandExchange::refuseBroken(const QByteArray &command)
{
    if (isWholeCommand(command))
        return false;
    const QString what = QStringLiteral("Command %1 was not sent to the Corvalen:").arg(commandName(command));
    const QString why = QStringLiteral("it holds CR, LF or NUL before its end, which would cut it short.");
    prompt_.message(UserPrompt::joinLines({what, why}), UserPrompt::Kind::Error);
    return true;
}

void CommandExchange::SendCommand(const QByteArray &text)
{
    if (refuseBroken(text))
        return;
    state_.LastReplyLine.clear();
    state_.conn.IdleTicks = 0;
    status_.showCommand(text);
    PumpWait(1);
    if (port_.isOpen())
        writeToPort(text);
}

void CommandExchange::WriteDirect(const QByteArray &text)
{
    if (refuseBroken(text))
        return;
    if (port_.isOpen())
        writeToPort(text);
}

bool CommandExchange::TogglePort()
{
    bool opened = false;
    if (port_.isOpen()) {
        port_.close();
    } else {
        port_.setDtrEnabled(true);
        port_.setRtsEnabled(true);
        port_.setOneStopBit(true);
        lastOpenError_.clear();
        if (!port_.open(&lastOpenError_))
            return false;
        opened = true;
    }
    PumpWait(1000);
    return opened;
}

void CommandExchange::LogOff()
{
    if (!port_.isOpen())
        return;
    SendCommand("x\r");
    port_.close();
    state_.conn.LoggedOn = false;
}

bool CommandExchange::ProbePanel()
{
    state_.RxMemo.clear();
    SendCommand("\r");
    PumpWait(200);
    if (state_.RxMemo.line(1) == "OK") {
        state_.RxMemo.clear();
        return true;
    }
    return false;
}

QByteArray CommandExchange::CutAtNul(const QByteArray &text)
{
    const qsizetype nul = text.indexOf('\0');
    return nul < 0 ? text : text.left(nul);
}

void CommandExchange::clearReply()
{
    state_.rx.ReplyOk = false;
    state_.rx.ReceiveBuffer.clear();
}

bool CommandExchange::waitForReply(qint32 step, int count)
{
    for (int i = 0; i < count; ++i) {
        PumpWait(step);
        if (state_.rx.ReplyOk)
            return true;
    }
    return state_.rx.ReplyOk;
}

bool CommandExchange::ReadCompare(const QByteArray &record, const QByteArray &expected)
{
    const QByteArray command = "r" + record + "\r";
    if (refuseBroken(command))
        return false;
    SendCommand(command);
    state_.RxMemo.clear();
    clearReply();
    waitForReply(20, 5);

    QByteArray reply = state_.RxMemo.line(0).mid(5);
    if (reply.size() > expected.size())
        reply.truncate(expected.size());
    return CutAtNul(expected) == reply;
}

bool CommandExchange::WriteRecord(const QByteArray &address, const QByteArray &data)
{
    state_.conn.IdleTicks = 0;
    const std::optional<QByteArray> record = RecordNumber::fromAddress(address);
    if (!record)
        return false; // no panel slot behind this address: nothing to write
    if (refuseBroken("w" + *record + data + "\r"))
        return false;

    for (int attempt = 0; attempt < 2; ++attempt) {
        state_.RxMemo.clear();
        clearReply();
        SendCommand("w" + *record + data + "\r");
        if (waitForReply(100, 20))
            break;
    }
    PumpWait(50);
    return ReadCompare(*record, data);
}

bool CommandExchange::WriteBlock(const QByteArray &address, const QByteArray &data)
{
    const std::optional<QByteArray> record = RecordNumber::fromAddress(address);
    if (!record || refuseBroken("b" + *record + data + "\r"))
        return false;

    for (int attempt = 0; attempt < 2; ++attempt) {
        state_.RxMemo.clear();
        SendCommand("b" + *record + data + "\r");
        clearReply();
        if (waitForReply(40, 5))
            break;
    }
    for (int check = 0; check < 3; ++check)
        if (ReadCompare(*record, data))
            return true;
    return false;
}

bool CommandExchange::ProgramRecord(const QByteArray &record, const QByteArray &data)
{
    const QByteArray command = "p" + record + data + "\r";
    if (refuseBroken(command))
        return false;
    for (int attempt = 0; attempt < 4; ++attempt) {
        state_.RxMemo.clear();
        if (record == "0000")
            WriteDirect(command); // the new PIN never reaches the status bar
        else
            SendCommand(command);
        PumpWait(2000);
        if (state_.RxMemo.line(0) != "Error" && ReadCompare(record, data))
            return true;
    }
    return false;
}
