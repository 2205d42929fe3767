#pragma once

#include "cli/CliJob.h"
#include "history/HistoryVersion.h"

#include <optional>

struct BackupEntry;

// restore VERSION: a version of the folder's history back on the panel, as
// the window's Restore: the version must fit the panel's model, what the
// panel holds is kept in a backup first, the comparison is shown with the
// question (answered as the other erasing jobs answer it), then the version
// is written slot for slot or record for record. The backup and the write
// become versions of the history.
class RestoreJob : public CliJob
{
public:
    using CliJob::CliJob;
    CliExit prepare(PinSource &pins) override;
    CliExit run() override;

private:
    void recordBackup(const BackupEntry &entry);

    std::optional<HistoryVersion> version_;
};
