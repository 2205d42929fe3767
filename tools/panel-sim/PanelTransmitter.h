#pragma once

#include "PanelOutput.h"

#include <QByteArray>
#include <QList>

// Puts the panel's output on the line in time: each piece starts after its
// gap and not before its earliest time, and with pacing each byte takes its
// time on the line (at 57600 baud and 10 bits a byte, 173.6 us). Time is
// given by the caller in nanoseconds on any monotonic clock, so the same
// schedule runs on the wall clock (the pseudo-terminal server) and on
// virtual time (the test adapter).
class PanelTransmitter
{
public:
    static constexpr int kDefaultBaud = 57600;
    static constexpr int kBitsPerByte = 10; // start bit, 8 data bits, stop bit

    static qint64 byteTimeNs(int baud) { return baud > 0 ? qint64(1000000000) * kBitsPerByte / baud : 0; }

    // 0: no pacing; a piece goes out whole at its start.
    void setByteTimeNs(qint64 ns) { byteNs_ = qMax<qint64>(ns, 0); }
    qint64 byteTimeNs() const { return byteNs_; }

    // Queues the pieces of one reply (or of one unsolicited line) sent at nowNs.
    void send(const QList<PanelOutput> &pieces, qint64 nowNs);

    // The bytes whose time on the line has passed by nowNs, in order.
    QByteArray take(qint64 nowNs);
    // When the next byte is due, or -1 when nothing waits.
    qint64 nextDueNs() const;
    bool idle() const { return segments_.isEmpty(); }

    // Forgets everything queued (the program went away).
    void clear();

    // Everything queued, as bursts at the times the bytes are due, at most
    // one burst per groupNs while pacing.
    struct Burst
    {
        qint64 atNs;
        QByteArray bytes;
    };
    QList<Burst> drain(qint64 groupNs);

private:
    struct Segment
    {
        qint64 startNs; // when its first byte begins
        QByteArray bytes;
    };

    qint64 byteNs_ = byteTimeNs(kDefaultBaud);
    qint64 lineFreeNs_ = 0; // when the last queued byte has left the line
    qint64 lastBurstNs_ = -1; // the time of the last burst drain() gave
    QList<Segment> segments_;
};
