#pragma once

#include <QString>

struct ReceiveState;

// Tells a lost line from a panel that refuses. A panel that refuses a write
// still answers (an "OK", an "Error", a read-back); a line that is gone, or a
// panel that fell silent with the line still open, sends nothing back at
// all. A transfer runs each write attempt between begin() and end(); once
// `limit` attempts in a row got no byte back, the line counts as lost and the
// transfer stops instead of retrying every record for minutes.
class LineSilence
{
public:
    LineSilence(const ReceiveState &rx, int limit);

    void begin();
    // Ends an attempt; true when the line now counts as lost.
    bool end();
    bool lost() const { return silentRun_ >= limit_; }

    // What a transfer says when it stops for that reason (a first line; the
    // transfer adds what it had done).
    static QString lostText();

private:
    const ReceiveState &rx_;
    int limit_;
    qint64 mark_ = 0;
    int silentRun_ = 0;
};
