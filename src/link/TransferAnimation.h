#pragma once

#include <QtGlobal>

// The frame counter of the transfer window. Each tick of its 300 ms timer
// names the picture to show: Image2, Image3, Image2, Image1, and again; a
// fresh showing of the window starts the cycle at Image2.
class TransferAnimation
{
public:
    // Showing the window starts the cycle afresh.
    void restart() { counter_ = 0; }
    // One timer tick: the picture to show now (1 to 3), 0 for none.
    int tick();
    qint32 counter() const { return counter_; }

private:
    qint32 counter_ = 0;
};
