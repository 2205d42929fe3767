#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <csignal>
#include <memory>

// SIGINT and SIGTERM while corvalen-cli runs (Ctrl-C, the timeout of a
// scheduled job). The handler only notes the signal and writes a byte to a
// pipe; the event loop, which every wait of a job pumps, reads the pipe and
// announces interrupted(). The runner then ends the log-on's part in the
// transfer (LoggedOn cleared, the port left open), so the transfer leaves
// its loop after the record it is writing; the job logs off and says what
// was written. A second signal ends the program at once, as if there were
// no handler. One at a time: the handlers are the process's.
class CliInterrupt : public QObject
{
    Q_OBJECT
public:
    CliInterrupt();
    // Puts the handlers that were there before back.
    ~CliInterrupt() override;

    // The signal that came (SIGINT, SIGTERM), 0 while none has.
    static int caught();
    // The one that is installed, if any.
    static CliInterrupt *active();
    // "SIGINT", "SIGTERM", or the number.
    static QString signalName(int signal);

    // What a signal leads to once the event loop runs; tests call it in
    // place of a signal.
    void interrupt(int signal);

signals:
    void interrupted(int signal);

private:
    void readPipe();

    std::unique_ptr<QSocketNotifier> notifier_;
    struct sigaction oldInt_{};
    struct sigaction oldTerm_{};
    bool announced_ = false;
};
