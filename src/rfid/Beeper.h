#pragma once

// The system beep, as the code below the windows sees it; the window side
// sounds it, tests count it.
class Beeper
{
public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};
