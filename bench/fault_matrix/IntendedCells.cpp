#include "IntendedCells.h"

#include <cstring>
#include <iterator>

namespace {
const IntendedCell kCells[] = {
    {"log-on", "", "claims success", "a banner whose third line is not a known identity logs on as an unknown model"},
    {"directory download", "", "user's table lost", "a download cut short replaces the table with the lines that came"},
    {"directory upload", "refused", "claims success", "an upload with refused entries reports them and still marks the table as the panel's"},
    {"single delete", "", "claims success", "the erase of the panel slot is not checked"},
    {"event download", "noise", "claims success", "a line of noise before the log becomes an \"error\" row"},
    {"clock set", "", "fails without a word", "the clock set awaits no reply"},
    {"tag read", "silent", "fails without a word", "no tag line: the countdown ends silently"},
};
} // namespace

const IntendedCell *IntendedCell::find(const char *exchange, const char *fault, const QString &reason)
{
    for (const IntendedCell &c : kCells) {
        if (!*c.exchange)
            continue;
        if (std::strcmp(c.exchange, exchange) != 0 || (*c.fault && std::strcmp(c.fault, fault) != 0))
            continue;
        if (reason.startsWith(QLatin1String(c.reason)))
            return &c;
    }
    return nullptr;
}
