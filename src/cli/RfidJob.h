#pragma once

#include "cli/CliJob.h"

// rfid get FILE.csv and rfid put FILE.csv: the RFID page's DownLoad and
// Write All, with the phone list file that carries the codes.
class RfidJob : public CliJob
{
public:
    using CliJob::CliJob;
    CliExit prepare(PinSource &pins) override;
    CliExit run() override;

private:
    CliExit get();
    CliExit put();
    int codeCount() const;
};
