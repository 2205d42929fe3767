#include "link/ExchangeGuard.h"

ExchangeGuard::Scope::Scope(ExchangeGuard &guard)
    : guard_(guard)
{
    if (guard_.depth_ > 0)
        return;
    entered_ = true;
    ++guard_.depth_;
    emit guard_.busyChanged(true);
}

ExchangeGuard::Scope::~Scope()
{
    if (!entered_)
        return;
    --guard_.depth_;
    emit guard_.busyChanged(false);
}
