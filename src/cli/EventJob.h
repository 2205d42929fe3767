#pragma once

#include "cli/CliJob.h"
#include "events/EventLog.h"

// events get FILE.Evt, clock get and clock set: the event page's Down Load
// with its event file, the panel clock it reads, and Set_time.
class EventJob : public CliJob
{
public:
    using CliJob::CliJob;
    CliExit prepare(PinSource &pins) override;
    CliExit run() override;

private:
    CliExit getEvents();
    CliExit getClock();
    CliExit setClock();
    // The clock a download or a clock read left, on standard output and in the summary.
    void reportClock(bool print);
    // A clock that could not be read: the line failed when nothing came at all.
    CliExit clockFailure() const;

    EventLog log_;
};
