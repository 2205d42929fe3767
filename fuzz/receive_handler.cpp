// The receive handler (CommandExchange::ComPort1RxChar) fed arbitrary bytes
// in arbitrary chunks, against a plain model of what it must keep: the
// receive buffer without NULs, the memo unless the echo is suppressed, the
// CR LF pairs seen inside chunks, the acknowledgement when the buffer ends
// with "OK" CR LF after a chunk. The memo's lines must give its text back.
//
// Input: one byte for the chunk plan, one byte of options (bit 0: the echo is
// suppressed at random chunks; bit 1: a sender empties the buffer whenever
// the acknowledgement came), then the bytes from the line.
#include "link/CommandExchange.h"
#include "link/ReplyMemo.h"
#include "support/FuzzCheck.h"
#include "support/FuzzInput.h"
#include "support/FuzzSinks.h"
#include "support/InstantWaiter.h"
#include "support/ScriptedPort.h"

namespace {

qint32 pairsIn(const QByteArray &chunk)
{
    qint32 n = 0;
    for (qsizetype i = 0; i + 1 < chunk.size(); ++i)
        if (chunk.at(i) == '\r' && chunk.at(i + 1) == '\n')
            ++n;
    return n;
}

void checkMemoLines(const ReplyMemo &memo)
{
    const QByteArray &text = memo.text();
    const QList<QByteArray> &lines = memo.lines();
    for (const QByteArray &line : lines)
        FUZZ_CHECK(!line.contains("\r\n"));
    QByteArray whole = lines.join("\r\n");
    if (text.endsWith("\r\n"))
        whole += "\r\n";
    FUZZ_CHECK(whole == text);
    FUZZ_CHECK(memo.lineCount() == lines.size());
    FUZZ_CHECK(memo.line(memo.lineCount()).isEmpty());
    FUZZ_CHECK(memo.line(-1).isEmpty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    ChunkPlan plan(data[0]);
    const bool echoFlickers = data[1] & 1;
    const bool senderClears = data[1] & 2;
    QByteArray stream = FuzzInput::bytes(data + 2, size - 2);

    ScriptedPort port;
    InstantWaiter waiter(port);
    FuzzStatus status;
    FuzzPrompt prompt;
    CommandExchange link(port, waiter, status, prompt);
    QString error;
    port.open(&error);
    ReceiveState &rx = link.rx();

    QByteArray buffer;
    QByteArray memo;
    qint32 lineEnds = 0;
    bool replyOk = false;
    while (!stream.isEmpty()) {
        const QByteArray raw = stream.left(plan.next(stream.size()));
        stream.remove(0, raw.size());
        const bool suppressed = echoFlickers && plan.flip();
        rx.EchoSuppressed = suppressed;

        port.inject(raw);
        port.deliver();

        QByteArray chunk = raw;
        chunk.replace(QByteArray(1, '\0'), QByteArray());
        buffer += chunk;
        if (!suppressed)
            memo += chunk;
        lineEnds += pairsIn(chunk);
        if (buffer.endsWith("OK\r\n"))
            replyOk = true;

        FUZZ_CHECK(rx.DataArrived);
        FUZZ_CHECK(rx.ReceiveBuffer == buffer);
        FUZZ_CHECK(!rx.ReceiveBuffer.contains('\0'));
        FUZZ_CHECK(link.RxMemo().text() == memo);
        FUZZ_CHECK(rx.LineEndCount == lineEnds);
        FUZZ_CHECK(rx.ReplyOk == replyOk);
        rx.DataArrived = false;

        if (senderClears && rx.ReplyOk) {
            link.clearReply();
            buffer.clear();
            replyOk = false;
        }
    }
    checkMemoLines(link.RxMemo());
    return 0;
}
