#include "link/WholeReply.h"

#include "link/CommandExchange.h"
#include "link/ReplyMemo.h"

namespace WholeReply {

namespace {

const QString kNoAnswer = QStringLiteral("The Corvalen did not answer.");
const QString kUnended = QStringLiteral("The Corvalen's reply did not end with OK.");

} // namespace

std::optional<QByteArray> read(CommandExchange &link, const QByteArray &command, int steps, int silentSteps,
                               QString *why)
{
    ReceiveState &rx = link.rx();
    const bool echo = rx.EchoSuppressed;
    rx.EchoSuppressed = true;
    rx.ReceiveBuffer.clear();
    link.PumpWait(10);
    link.SendCommand(command + '\r');
    link.clearReply();
    rx.DataArrived = false;
    bool whole = false;
    bool anything = false;
    int silence = 0;
    for (int step = 0; step < steps && !whole; ++step) {
        link.PumpWait(100);
        whole = rx.ReplyOk && ReplyMemo::endsWithOkLine(rx.ReceiveBuffer);
        if (rx.DataArrived) {
            anything = true;
            silence = 0;
        } else if (++silence > silentSteps) {
            break;
        }
        rx.DataArrived = false;
    }
    const QByteArray reply = rx.ReceiveBuffer;
    rx.ReceiveBuffer.clear();
    rx.EchoSuppressed = echo;
    if (whole)
        return reply;
    if (why)
        *why = anything ? kUnended : kNoAnswer;
    return std::nullopt;
}

} // namespace WholeReply
