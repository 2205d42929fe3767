#include "rfid/AssignedAddrs.h"

void AssignedAddrs::ClearAssignedAddrs()
{
    held_.clear();
    counter_ = 2;
}

bool AssignedAddrs::IsAddrAssigned(const QByteArray &addr) const
{
    // Slot 0 stays empty for good, so the empty text is always held.
    return addr.isEmpty() || held_.contains(addr);
}

void AssignedAddrs::record(const QByteArray &addr)
{
    held_.insert(addr);
    ++counter_;
}

void AssignedAddrs::MarkAddrAssigned(const QByteArray &addr)
{
    if (counter_ >= kSlots + 1)
        return;
    record(addr);
}

void AssignedAddrs::recordAppended(const QByteArray &addr)
{
    record(addr);
}
