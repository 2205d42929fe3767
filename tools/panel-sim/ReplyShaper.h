#pragma once

#include "PanelFaults.h"
#include "PanelOutput.h"

#include <QRandomGenerator>

// Applies the line faults to what the panel sends: a reply cut short or
// pausing in the middle, NUL bytes strewn in, random chunks, a latency
// before the reply. Random choices
// come from a seeded generator, so a seed repeats a run exactly.
class ReplyShaper
{
public:
    explicit ReplyShaper(quint32 seed = 1) : random_(seed) {}
    void reseed(quint32 seed) { random_.seed(seed); }

    // isReply: the output answers a command (the latency applies); otherwise
    // the panel sends it of its own accord.
    QList<PanelOutput> shape(QList<PanelOutput> pieces, const PanelFaults &faults, bool isReply);

    // A line of noise: 8 to 40 random printable and high bytes, no CR, LF or NUL.
    QByteArray junkLine();

private:
    static QList<PanelOutput> cutAfter(const QList<PanelOutput> &pieces, int bytes);
    static QList<PanelOutput> pauseAfter(const QList<PanelOutput> &pieces, int bytes, int ms);
    QByteArray strewNul(const QByteArray &bytes);
    QList<PanelOutput> chop(const PanelOutput &piece);

    QRandomGenerator random_;
};
