#pragma once

#include "archive/EventFilter.h"
#include "cli/CliJob.h"

class ArchiveSelection;
struct CliRecordOptions;

// events query: the events of the folder's event archive that the filter
// options select, oldest first: as aligned columns or a JSON array on
// standard output, and as a spreadsheet list (--csv) and a printed report
// (--pdf). A date that is not YYYY-MM-DD, a kind or source the archive does
// not know, is a usage error before anything is read.
class EventQueryJob : public CliJob
{
public:
    using CliJob::CliJob;
    bool needsPanel() const override { return false; }
    CliExit prepare(PinSource &pins) override;
    CliExit run() override;

    // The filter the options describe; empty error when they are good.
    static EventFilter filterOf(const CliRecordOptions &options, QString *error);

private:
    bool printRows(ArchiveSelection &selection, QString *error);

    EventFilter filter_;
};
