#include "link/BulkReply.h"

#include "link/ReplyMemo.h"

namespace BulkReply {

QList<QByteArray> recordLines(const QByteArray &reply, bool ended)
{
    const QList<QByteArray> lines = ReplyMemo::splitLines(reply);
    const qsizetype end = ended ? lines.size() - 1 : lines.size();
    if (end <= 1)
        return {};
    return lines.mid(1, end - 1);
}

int recordCount(const QList<QByteArray> &lines)
{
    int count = 0;
    for (const QByteArray &line : lines)
        count += line.isEmpty() ? 0 : 1;
    return count;
}

} // namespace BulkReply
