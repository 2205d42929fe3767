#pragma once

#include "link/Waiter.h"

#include <QTimer>
#include <functional>

#include "support/CountingSerialPort.h"

class PanelServer;

// The program's waits on real time that skip ahead once nothing can happen
// before they end: virtual time through real sockets and pseudo-terminals.
//
// A wait processes events as the program's own waiter does. Whenever the
// line is settled (the test says so: the panel has nothing due and every
// byte either side wrote has been taken in by the other), the rest of the
// wait is skipped: the waiter's clock moves on to the wait's end at once.
// Until then it waits in real time, looking again at every event and at
// least every millisecond. The program's own timers (the keep-alive, the
// tag reader's countdown) run on real time and see none of the skipped
// time. Without a settled test, or with skipping off, it is a real-time
// waiter.
class SkippingWaiter : public Waiter
{
public:
    using Settled = std::function<bool()>;

    SkippingWaiter();

    void setSettled(Settled settled) { settled_ = std::move(settled); }
    // On by default (once a settled test is set).
    void setSkipping(bool on) { skipping_ = on; }
    bool skipping() const { return skipping_; }

    void pump(qint32 ticks) override;
    qint64 nowNs() const override;

    // The time skipped so far.
    qint64 skippedNs() const { return skippedNs_; }

private:
    static qint64 monotonicNs();

    Settled settled_;
    bool skipping_ = true;
    qint64 skippedNs_ = 0;
    QTimer wake_;
};

// Whether the line between the program's port and a panel server in this
// process is settled: the panel has nothing due, and in the session now on
// the line every byte the program wrote has reached the panel and every
// byte the panel sent has been read by the program (the port is asked to
// hand over what it holds back). A program that closed its port is settled
// once the panel has seen it go. A session the panel did not see begin on
// its own (the program closed and opened again before the panel looked) is
// never settled: its counts cannot be told from the last session's.
class PanelLineWatch
{
public:
    PanelLineWatch(CountingSerialPort &port, PanelServer &server);
    ~PanelLineWatch();
    PanelLineWatch(const PanelLineWatch &) = delete;
    PanelLineWatch &operator=(const PanelLineWatch &) = delete;

    bool settled();

private:
    CountingSerialPort &port_;
    PanelServer &server_;
    int sessionsAtOpen_ = -1;
};

// Skipping turned off for as long as it lives: for the parts of a test that
// wait for the program's own timers, or that measure real time.
class RealTime
{
public:
    explicit RealTime(SkippingWaiter &waiter) : waiter_(waiter), was_(waiter.skipping()) { waiter.setSkipping(false); }
    ~RealTime() { waiter_.setSkipping(was_); }
    RealTime(const RealTime &) = delete;
    RealTime &operator=(const RealTime &) = delete;

private:
    SkippingWaiter &waiter_;
    bool was_;
};
