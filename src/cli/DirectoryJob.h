#pragma once

#include "cli/CliJob.h"

// directory get FILE.csv, directory put FILE.csv: the phone page's GetData
// and WriteAllData with the phone list file of its File menu.
class DirectoryJob : public CliJob
{
public:
    using CliJob::CliJob;
    CliExit prepare(PinSource &pins) override;
    CliExit run() override;

private:
    CliExit get();
    CliExit put();
    void warnUnreadable();
};
