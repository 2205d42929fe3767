#pragma once

#include <QByteArray>
#include <QList>

// A piece of what the panel sends, with its timing: it starts gapMs after the
// piece before it has left the line (for the first piece of a reply: after
// the command arrived), and not before notBeforeMs after the command arrived.
struct PanelOutput
{
    QByteArray bytes;
    int gapMs = 0;
    int notBeforeMs = 0;

    static QByteArray join(const QList<PanelOutput> &pieces)
    {
        QByteArray all;
        for (const PanelOutput &piece : pieces)
            all += piece.bytes;
        return all;
    }
};
