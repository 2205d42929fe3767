#include "link/PinMask.h"

PinMask::PinMask(QList<QByteArray> prefixes)
    : prefixes_(std::move(prefixes))
{
}

PinMask PinMask::forSent()
{
    return PinMask({QByteArray("a"), QByteArray("p0000")});
}

PinMask PinMask::forReceived()
{
    return PinMask({QByteArray("r0000")});
}

void PinMask::startLine()
{
    head_.clear();
    masking_ = false;
    plain_ = false;
}

QList<bool> PinMask::scan(const QByteArray &chunk)
{
    QList<bool> hidden(chunk.size(), false);
    for (qsizetype i = 0; i < chunk.size(); ++i) {
        const char c = chunk.at(i);
        if (c == '\r' || c == '\n') {
            startLine();
            continue;
        }
        if (masking_) {
            hidden[i] = true;
            continue;
        }
        if (plain_ || c == '\0')
            continue;
        head_ += c;
        bool possible = false;
        for (const QByteArray &prefix : prefixes_) {
            if (prefix == head_)
                masking_ = true;
            possible = possible || prefix.startsWith(head_);
        }
        plain_ = !possible && !masking_;
    }
    return hidden;
}
