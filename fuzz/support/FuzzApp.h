#pragma once

#include "directory/DirectoryContext.h"
#include "support/FuzzSinks.h"
#include "support/InstantWaiter.h"
#include "support/ScriptedPort.h"

// Everything a transfer procedure works with, on a scripted panel: the port
// open, logged on, an empty phone table defined and open.
struct FuzzApp
{
    ScriptedPort port;
    InstantWaiter waiter{port};
    FuzzStatus status;
    FuzzPrompt prompt;
    FuzzFeedback feedback;
    CommandExchange link{port, waiter, status, prompt};
    ExchangeGuard guard;
    PhoneDirectory directory;
    DirectoryContext ctx{{link, guard, prompt, status, feedback}, directory};

    FuzzApp();

    // The panel answers the n-th command with the n-th reply, and nothing
    // once the replies have run out.
    void answerInTurn(const QList<QByteArray> &replies);
};
