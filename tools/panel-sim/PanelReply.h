#pragma once

#include <QByteArray>

// The answer to one command before the line faults shape it: the lines
// before the acknowledgement (each already ended with CR LF), whether "OK"
// follows, and how long after the command the "OK" may come at the earliest.
struct PanelReply
{
    QByteArray text;
    bool ok = false;
    int okNotBeforeMs = 0;

    bool isEmpty() const { return text.isEmpty() && !ok; }
};
