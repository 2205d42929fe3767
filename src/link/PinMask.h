#pragma once

#include <QByteArray>
#include <QList>

// Finds the PIN in the bytes crossing the line, so the traffic journal can
// leave it out. The PIN travels in three places, each at the start of a
// line (after CR or LF):
//   sent      "a" + PIN + CR           the log-on
//   sent      "p0000" + record + CR    the PIN change (record 0000 is the PIN)
//   received  "r0000" + record         the panel's read-back of that record
// Everything after the prefix up to the line's end is the PIN's. A line may
// arrive over several chunks; the mask keeps its place between them.
//
// The lines are those the exchange reads: it drops every NUL byte before it
// looks at a reply, so "\0r00\0" "00" is the read-back's prefix all the
// same. NUL bytes are passed over when the prefix is matched, and hidden
// with the PIN when they fall inside it.
class PinMask
{
public:
    static PinMask forSent();
    static PinMask forReceived();

    // For each byte of the chunk: true when it belongs to the PIN.
    QList<bool> scan(const QByteArray &chunk);

private:
    explicit PinMask(QList<QByteArray> prefixes);
    void startLine();

    QList<QByteArray> prefixes_;
    QByteArray head_;      // the line so far, while it may still become a prefix
    bool masking_ = false; // inside a PIN
    bool plain_ = false;   // this line starts with no prefix
};
