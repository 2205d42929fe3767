#include "events/EventLog.h"

void EventLog::markLoaded()
{
    loaded_ = true;
    emit downloadCompleted();
}
