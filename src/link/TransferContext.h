#pragma once

#include "link/CommandExchange.h"
#include "link/ExchangeGuard.h"
#include "link/StatusSink.h"
#include "link/TransferFeedback.h"
#include "link/UserPrompt.h"

class ContentRecorder;
class ErasePermission;
class FileCommands;

// What every transfer works with: the link to the panel, the guard that
// keeps exchanges one at a time, the message sink, the status bar and the
// transfer feedback. The main window (or the command line) owns them all;
// tests build the same context from fakes.
struct TransferContext
{
    CommandExchange &link;
    ExchangeGuard &guard;
    UserPrompt &prompt;
    StatusSink &status;
    TransferFeedback &feedback;
    // The main window's file and edit commands; absent where there is no
    // window.
    FileCommands *fileCommands = nullptr;
    // Asked before every write that erases what the panel holds; absent
    // where nothing is kept (the writes then ask only their own question).
    ErasePermission *erase = nullptr;
    // Told every complete read, backup, write and event download; absent
    // where nothing is recorded.
    ContentRecorder *recorder = nullptr;
};
