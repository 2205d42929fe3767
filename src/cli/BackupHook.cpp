#include "cli/BackupHook.h"

#include "cli/CliSession.h"

namespace BackupHook {

Result beforePut(CliSession &session, CliCommand::Job job)
{
    // No backup store yet: the put goes ahead without one, and the summary
    // says so (backup: null).
    Q_UNUSED(session);
    Q_UNUSED(job);
    return {};
}

} // namespace BackupHook
