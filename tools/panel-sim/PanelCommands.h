#pragma once

#include "PanelClock.h"
#include "PanelFaults.h"
#include "PanelMemory.h"
#include "PanelReply.h"

// The commands of a logged-on session that read and write the panel's memory
// and clock ("r", "w", "b", "p", "d", "f5a", "s", "c1418", "g", "t", "e",
// "u"), with the faults that belong to a command (refused "p" and "g",
// read-backs that differ). Log-on, log-off and the keep-alive are the
// engine's.
class PanelCommands
{
public:
    PanelCommands(PanelMemory &memory, PanelClock &clock, PanelFaults &faults)
        : memory_(memory), clock_(clock), faults_(faults)
    {
    }

    PanelReply run(const QByteArray &command);

private:
    PanelReply read(const QByteArray &args);
    PanelReply writeDirectory(char word, const QByteArray &args);
    PanelReply program(const QByteArray &args);
    PanelReply store(const QByteArray &args);
    PanelReply dump(const QByteArray &args);
    PanelReply dumpStore(const QByteArray &args);
    PanelReply clock(const QByteArray &args);
    PanelReply events();
    static PanelReply echoOk(const QByteArray &firstLine);
    static PanelReply error();

    PanelMemory &memory_;
    PanelClock &clock_;
    PanelFaults &faults_;
};
