#include "cli/IdentifyJob.h"

#include "cli/CliConsole.h"
#include "cli/CliOptions.h"
#include "cli/CliPrompt.h"
#include "cli/CliSession.h"

CliExit IdentifyJob::run()
{
    const QString model = session_.model();
    if (!options_.json)
        console_.out((model.isEmpty() ? QStringLiteral("unknown") : model).toLatin1() + '\n');
    if (!model.isEmpty())
        return CliExit::Done;
    session_.prompt().error(session_.modelProblem());
    return CliExit::Refused;
}
