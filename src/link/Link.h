#pragma once

// The link to the panel in one include: the port and wait seams, the shared
// receive and connection state, and the command exchange with its helpers.
#include "link/CommandExchange.h"
#include "link/ExchangeGuard.h"
#include "link/LinkState.h"
#include "link/RecordNumber.h"
#include "link/SerialPort.h"
#include "link/StatusSink.h"
#include "link/UserPrompt.h"
#include "link/Waiter.h"
