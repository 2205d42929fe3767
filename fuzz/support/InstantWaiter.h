#pragma once

#include "link/Waiter.h"
#include "support/ScriptedPort.h"

// The wait seam for fuzzing: a wait delivers what the scripted panel has
// sent and moves a counter on; nothing sleeps.
class InstantWaiter : public Waiter
{
public:
    explicit InstantWaiter(ScriptedPort &port) : port_(port) {}

    void pump(qint32 ticks) override
    {
        port_.deliver();
        now_ += qint64(qMax(ticks, 0)) * kTickNs;
    }
    qint64 nowNs() const override { return now_; }

private:
    ScriptedPort &port_;
    qint64 now_ = 0;
};
