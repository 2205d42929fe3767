#include "link/TransferAnimation.h"

int TransferAnimation::tick()
{
    ++counter_;
    switch (counter_) {
    case 1: return 2;
    case 2: return 3;
    case 3: return 2;
    case 4:
        counter_ = 0;
        return 1;
    default:
        return 0;
    }
}
