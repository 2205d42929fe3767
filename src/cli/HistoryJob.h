#pragma once

#include "cli/CliJob.h"

// history [--kind K] [--json]: the versions of the folder's history, newest
// first, as aligned columns or as a JSON array.
class HistoryJob : public CliJob
{
public:
    using CliJob::CliJob;
    bool needsPanel() const override { return false; }
    CliExit run() override;
};
