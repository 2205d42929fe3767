#pragma once

#include "link/CommandExchange.h"
#include "support/FakePanelPort.h"
#include "support/Recorders.h"
#include "support/VirtualClock.h"

// A command exchange wired to a scripted fake panel on virtual time.
struct LinkHarness
{
    VirtualClock clock;
    VirtualWaiter waiter{clock};
    VirtualScheduler scheduler{clock};
    FakePanelPort port{scheduler};
    RecordingStatus status;
    RecordingPrompt prompt;
    CommandExchange link{port, waiter, status, prompt};

    LinkHarness() {}

    void openPort()
    {
        QString error;
        port.open(&error);
    }
    // Delivers bytes now, as one chunk, through the receive handler.
    void receive(const QByteArray &chunk)
    {
        port.inject(chunk, 0);
        waiter.pump(0);
    }
    qint64 elapsedTicks() const { return clock.nowTicks(); }
};
