#include "link/ExchangeGuard.h"

bool ExchangeGuard::refusesClick()
{
    if (!busy())
        return false;
    emit refused();
    return true;
}

ExchangeGuard::Scope::Scope(ExchangeGuard &guard)
    : guard_(guard)
{
    if (guard_.refusesClick())
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
