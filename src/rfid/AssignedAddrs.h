#pragma once

#include <QByteArray>
#include <QSet>

// The RFID download's memory of which directory entries have already
// received a code, by their Addr. It holds 1000 slots and a counter:
// clearing empties every slot and sets the counter to 2; recording an Addr
// fills slot counter - 1 and advances the counter. An Addr counts as
// assigned when any slot holds it; the first slot is never filled, so an
// empty Addr always counts as assigned (such an entry never receives a
// downloaded code).
class AssignedAddrs
{
public:
    static constexpr int kSlots = 1000;

    AssignedAddrs() { ClearAssignedAddrs(); }

    void ClearAssignedAddrs();
    bool IsAddrAssigned(const QByteArray &addr) const;
    // Records the Addr of an entry that received a code, unless the counter
    // has reached 1001 (every slot taken).
    void MarkAddrAssigned(const QByteArray &addr);
    // Records the Addr of an entry the download appended; not limited (a
    // download brings at most 512 codes).
    void recordAppended(const QByteArray &addr);

    // Advances once per code of the download; "p" + counter names the
    // entries it appends.
    int counter() const { return counter_; }

private:
    void record(const QByteArray &addr);

    QSet<QByteArray> held_;
    int counter_ = 2;
};
