#pragma once

#include "directory/PhoneDirectory.h"
#include "link/TransferContext.h"

// The transfer context with the phone directory the pages share: what the
// phone list's and the RFID page's transfers, and the pages above them,
// work with.
struct DirectoryContext : TransferContext
{
    PhoneDirectory &directory;
};
