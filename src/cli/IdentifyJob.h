#pragma once

#include "cli/CliJob.h"

// identify: the log-on alone; prints the model the panel named, or
// "unknown" with the identity it sent (and exit status 1) when the model is
// not one the program knows.
class IdentifyJob : public CliJob
{
public:
    using CliJob::CliJob;
    CliExit run() override;
};
