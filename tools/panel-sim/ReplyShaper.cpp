#include "ReplyShaper.h"

QList<PanelOutput> ReplyShaper::shape(QList<PanelOutput> pieces, const PanelFaults &faults, bool isReply)
{
    if (faults.stallAfter > 0)
        pieces = cutAfter(pieces, faults.stallAfter);
    if (isReply && faults.pauseAfter > 0)
        pieces = pauseAfter(pieces, faults.pauseAfter, faults.pauseMs);
    if (faults.nul)
        for (PanelOutput &piece : pieces)
            piece.bytes = strewNul(piece.bytes);
    if (faults.chunks) {
        QList<PanelOutput> chopped;
        for (const PanelOutput &piece : pieces)
            chopped += chop(piece);
        pieces = chopped;
    }
    if (isReply && faults.latencyMs > 0 && !pieces.isEmpty())
        pieces.first().gapMs += faults.latencyMs;
    return pieces;
}

QList<PanelOutput> ReplyShaper::cutAfter(const QList<PanelOutput> &pieces, int bytes)
{
    QList<PanelOutput> out;
    int left = bytes;
    for (const PanelOutput &piece : pieces) {
        if (left <= 0)
            break;
        PanelOutput kept = piece;
        kept.bytes.truncate(left);
        left -= int(kept.bytes.size());
        out << kept;
    }
    return out;
}

QList<PanelOutput> ReplyShaper::pauseAfter(const QList<PanelOutput> &pieces, int bytes, int ms)
{
    QList<PanelOutput> out;
    int left = bytes;
    bool paused = false;
    for (PanelOutput piece : pieces) {
        if (!paused && left < piece.bytes.size()) {
            if (left > 0) {
                PanelOutput head = piece;
                head.bytes.truncate(left);
                out << head;
                piece.bytes.remove(0, left);
                piece.gapMs = 0;
                piece.notBeforeMs = 0;
            }
            piece.gapMs += ms;
            paused = true;
        }
        if (!paused)
            left -= int(piece.bytes.size());
        out << piece;
    }
    return out;
}

QByteArray ReplyShaper::strewNul(const QByteArray &bytes)
{
    QByteArray out;
    out.reserve(bytes.size() + bytes.size() / 4 + 2);
    for (char c : bytes) {
        if (random_.bounded(6) == 0)
            out.append(QByteArray(1 + random_.bounded(3), '\0'));
        out.append(c);
    }
    return out;
}

QList<PanelOutput> ReplyShaper::chop(const PanelOutput &piece)
{
    QList<PanelOutput> out;
    qsizetype at = 0;
    while (at < piece.bytes.size()) {
        const int size = 1 + random_.bounded(24);
        PanelOutput part;
        part.bytes = piece.bytes.mid(at, size);
        part.gapMs = at == 0 ? piece.gapMs : 1 + random_.bounded(4);
        part.notBeforeMs = at == 0 ? piece.notBeforeMs : 0;
        out << part;
        at += size;
    }
    return out;
}

QByteArray ReplyShaper::junkLine()
{
    static const QByteArray alphabet =
        "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz:;<=>?!\"#$%&'()*+,-./@[]^_{|}~ \x80\x9f\xa4\xb5\xe9\xfe";
    const int size = 8 + random_.bounded(33);
    QByteArray line;
    for (int i = 0; i < size; ++i)
        line.append(alphabet.at(random_.bounded(int(alphabet.size()))));
    return line;
}
