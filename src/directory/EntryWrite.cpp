#include "directory/EntryWrite.h"

#include "link/CommandExchange.h"
#include "link/LineSilence.h"

namespace EntryWrite {

Result write(CommandExchange &link, const QByteArray &slot, const QByteArray &text, LineSilence &silence,
             const std::function<void()> &failedRetry)
{
    silence.begin();
    if (link.WriteBlock(slot, text)) {
        silence.end();
        return Result::Written;
    }
    if (silence.end())
        return Result::LineLost;
    for (int retry = 0; retry < 3; ++retry) {
        silence.begin();
        link.PumpWait(40);
        link.SendCommand("\r");
        link.PumpWait(40);
        const bool written = link.WriteRecord(slot, text);
        const bool lost = silence.end();
        if (written)
            return Result::Written;
        if (failedRetry)
            failedRetry();
        if (lost)
            return Result::LineLost;
        link.PumpWait(100);
    }
    return Result::Refused;
}

} // namespace EntryWrite
