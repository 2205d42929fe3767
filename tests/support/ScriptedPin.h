#pragma once

#include "link/PinRequest.h"

#include <QList>
#include <functional>

// Answers the log-on dialog from a queue: a PIN, or nothing for Cancel
// (also when the queue is empty). duringDialog runs while it "shows".
class ScriptedPin : public PinRequest
{
public:
    std::optional<QByteArray> askPin() override
    {
        ++asked;
        if (duringDialog)
            duringDialog();
        if (answers.isEmpty())
            return std::nullopt;
        return answers.takeFirst();
    }

    QList<std::optional<QByteArray>> answers;
    int asked = 0;
    std::function<void()> duringDialog;
};
