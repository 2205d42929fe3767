#pragma once

class CommandExchange;

// For a long reply that is looked at only between waits (a download, the
// reads of a backup): while it lives, the port may hold back what arrives
// and hand it over in bigger chunks, which spares the program a wake-up for
// every few bytes. Every wait of the exchange still ends with all that has
// arrived handed over, and so does the end of the scope, so what the
// exchange sees after each wait is unchanged. Short command and answer
// exchanges, which react to a reply as soon as it is there, do not use it.
class StreamingRead
{
public:
    explicit StreamingRead(CommandExchange &link);
    ~StreamingRead();
    StreamingRead(const StreamingRead &) = delete;
    StreamingRead &operator=(const StreamingRead &) = delete;

private:
    CommandExchange &link_;
};
