#pragma once

#include <QtGlobal>

// How received bytes are cut into the chunks the receive handler gets, from
// one byte of the input: 0 delivers everything at once, n cuts chunks of 1 to
// n bytes, their sizes drawn from a generator seeded by n (the same input
// always gives the same chunks).
class ChunkPlan
{
public:
    explicit ChunkPlan(quint8 shape = 0)
        : longest_(shape)
        , state_((0x9E3779B9u ^ (quint32(shape) * 0x85EBCA6Bu)) | 1u)
    {
    }

    // The size of the next chunk when `left` bytes wait.
    qsizetype next(qsizetype left)
    {
        if (longest_ == 0)
            return left;
        return qMin<qsizetype>(left, 1 + qsizetype(draw() % longest_));
    }

    // A coin for other per-chunk choices.
    bool flip() { return (draw() & 0x100) != 0; }

private:
    quint32 draw()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }

    quint32 longest_;
    quint32 state_;
};
