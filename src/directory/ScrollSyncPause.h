#pragma once

#include "directory/PhoneDirectory.h"

// Clears ScrollSyncOn for its own lifetime and sets it again at the end, so
// that code which moves through or changes the phone table does not
// overwrite the edit fields midway.
class ScrollSyncPause
{
public:
    explicit ScrollSyncPause(PhoneDirectory &directory)
        : directory_(directory)
    {
        directory_.ScrollSyncOn = false;
    }
    ~ScrollSyncPause() { directory_.ScrollSyncOn = true; }
    ScrollSyncPause(const ScrollSyncPause &) = delete;
    ScrollSyncPause &operator=(const ScrollSyncPause &) = delete;

private:
    PhoneDirectory &directory_;
};
