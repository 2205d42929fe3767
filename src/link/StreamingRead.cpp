#include "link/StreamingRead.h"

#include "link/CommandExchange.h"

StreamingRead::StreamingRead(CommandExchange &link)
    : link_(link)
{
    link_.beginStreaming();
}

StreamingRead::~StreamingRead()
{
    link_.endStreaming();
}
