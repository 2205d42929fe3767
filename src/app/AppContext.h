#pragma once

#include "app/FileCommandState.h"
#include "directory/PhoneDirectory.h"
#include "link/CommandExchange.h"
#include "link/ExchangeGuard.h"
#include "link/StatusSink.h"
#include "link/TransferFeedback.h"
#include "link/UserPrompt.h"

class PanelBackups;

// What every page and transfer works with: the link to the panel, the guard
// that keeps exchanges one at a time, the message sink, the status bar, the
// transfer feedback, the shared phone directory and the backups. The main
// window owns them all; tests build the same context from fakes.
struct AppContext
{
    CommandExchange &link;
    ExchangeGuard &guard;
    UserPrompt &prompt;
    StatusSink &status;
    TransferFeedback &feedback;
    PhoneDirectory &directory;
    // The main window's file and edit commands (Save As after a parameter
    // read, Save after a download); absent in tests that need no window.
    FileCommandState *fileCommands = nullptr;
    // Where the writes that erase keep what the panel held before; absent
    // in tests that need no backups (the writes then take none).
    PanelBackups *backups = nullptr;
};
