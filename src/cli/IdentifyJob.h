#pragma once

#include "cli/CliJob.h"

// identify: the log-on alone; prints the model the panel named.
class IdentifyJob : public CliJob
{
public:
    using CliJob::CliJob;
    CliExit run() override;
};
