#include "events/EventLog.h"

void EventLog::markLoaded()
{
    loaded_ = true;
    emit downloadCompleted();
}

void EventLog::setDownloadProblem(const QString &text)
{
    if (problem_ == text)
        return;
    problem_ = text;
    emit downloadProblemChanged(problem_);
}
