#include "PanelTransmitter.h"

void PanelTransmitter::send(const QList<PanelOutput> &pieces, qint64 nowNs)
{
    constexpr qint64 ms = 1000000;
    bool first = true;
    for (const PanelOutput &piece : pieces) {
        qint64 start = first ? qMax(nowNs + piece.gapMs * ms, lineFreeNs_) : lineFreeNs_ + piece.gapMs * ms;
        start = qMax(start, nowNs + piece.notBeforeMs * ms);
        first = false;
        if (piece.bytes.isEmpty())
            continue;
        segments_.append({start, piece.bytes});
        lineFreeNs_ = start + byteNs_ * piece.bytes.size();
    }
}

QByteArray PanelTransmitter::take(qint64 nowNs)
{
    QByteArray out;
    while (!segments_.isEmpty()) {
        Segment &segment = segments_.first();
        if (nowNs < segment.startNs)
            break;
        qsizetype count = segment.bytes.size();
        if (byteNs_ > 0)
            count = qMin<qint64>(count, (nowNs - segment.startNs) / byteNs_);
        if (count <= 0)
            break;
        out += segment.bytes.left(count);
        if (count == segment.bytes.size()) {
            segments_.removeFirst();
            continue;
        }
        segment.bytes.remove(0, count);
        segment.startNs += byteNs_ * count;
        break;
    }
    return out;
}

qint64 PanelTransmitter::nextDueNs() const
{
    if (segments_.isEmpty())
        return -1;
    return segments_.first().startNs + byteNs_;
}

void PanelTransmitter::clear()
{
    segments_.clear();
    lineFreeNs_ = 0;
    lastBurstNs_ = -1;
}

QList<PanelTransmitter::Burst> PanelTransmitter::drain(qint64 groupNs)
{
    // Grouping goes on from the last burst of the drain before: a reply
    // queued while an earlier one is still due never overtakes its tail.
    QList<Burst> bursts;
    qint64 previous = lastBurstNs_;
    while (!idle()) {
        qint64 at = nextDueNs();
        if (byteNs_ > 0 && previous >= 0)
            at = qMax(at, previous + groupNs);
        const QByteArray bytes = take(at);
        if (!bytes.isEmpty())
            bursts.append({at, bytes});
        previous = at;
    }
    lastBurstNs_ = previous;
    return bursts;
}
