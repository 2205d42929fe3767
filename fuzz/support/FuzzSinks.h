#pragma once

#include "link/StatusSink.h"
#include "link/NoWindowFeedback.h"
#include "link/UserPrompt.h"

#include <QStringList>

// Where the code below the windows reports while it is fuzzed: the status
// bar and the transfer feedback go nowhere, messages are kept so that a
// fuzzer can look at them, and every question is answered Yes.
class FuzzStatus : public StatusSink
{
public:
    void setStatusText(const QString &) override {}
    void setCommandText(const QString &) override {}
};

class FuzzPrompt : public UserPrompt
{
public:
    void message(const QString &text, Kind) override { messages << text; }
    bool ask(const QString &, Kind) override { return true; }

    QStringList messages;
};

using FuzzFeedback = NoWindowFeedback;
