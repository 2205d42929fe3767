#pragma once

#include <QByteArray>

class CommandExchange;

// The two small exchanges the RFID store write is built on.
namespace StoreExchange {

// After a "g" or "p" has been sent: clears ReplyOk, ReceiveBuffer and
// LastReplyLine, polls up to 10 times 86.4 ms for "OK", then keeps RxMemo's
// second line in LastReplyLine ("Error" when the panel refused). Returns
// ReplyOk. While the echo is suppressed RxMemo stays empty, so no "Error"
// is seen then.
bool WaitStoreReply(CommandExchange &link);

// Reads the record back ("r" + record) and tells whether it is still blank:
// true when every character of RxMemo's first line from the sixth on is "?",
// also when there is no such character (no reply, or the echo suppressed).
bool IsStoreRecordBlank(CommandExchange &link, const QByteArray &record);

} // namespace StoreExchange
