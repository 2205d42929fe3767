#include "cli/IdentifyJob.h"

#include "cli/CliConsole.h"
#include "cli/CliOptions.h"
#include "cli/CliSession.h"

CliExit IdentifyJob::run()
{
    const QString model = session_.model();
    if (!options_.json)
        console_.out((model.isEmpty() ? QStringLiteral("unknown") : model).toLatin1() + '\n');
    return CliExit::Done;
}
