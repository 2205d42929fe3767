#include "rfid/StoreExchange.h"

#include "link/CommandExchange.h"

namespace StoreExchange {

bool WaitStoreReply(CommandExchange &link)
{
    link.clearReply();
    link.state().LastReplyLine.clear();
    link.waitForReply(100, 10);
    link.state().LastReplyLine = link.RxMemo().line(1);
    return link.rx().ReplyOk;
}

bool IsStoreRecordBlank(CommandExchange &link, const QByteArray &record)
{
    link.RxMemo().clear();
    link.SendCommand("r" + record + "\r");
    link.clearReply();
    link.PumpWait(200);
    const QByteArray content = link.RxMemo().line(0).mid(5);
    for (char c : content)
        if (c != '?')
            return false;
    return true;
}

} // namespace StoreExchange
