#include "rfid/TagComparison.h"

#include <QStringList>

namespace TagComparison {

namespace {

QString tagLine(char sign, const StoreCodec::Entry &e)
{
    return QStringLiteral("%1 %2 (room %3)").arg(QLatin1Char(sign)).arg(QString::fromLatin1(e.code), QString::fromLatin1(e.room));
}

} // namespace

Changes changes(const QList<StoreCodec::Entry> &panel, const QList<StoreCodec::Entry> &written)
{
    Changes out;
    QList<StoreCodec::Entry> left = panel;
    for (const StoreCodec::Entry &e : written) {
        qsizetype match = -1;
        for (qsizetype j = 0; j < left.size() && match < 0; ++j)
            if (left.at(j).room == e.room && left.at(j).code == e.code)
                match = j;
        if (match < 0)
            out.added.append(e);
        else
            left.removeAt(match);
    }
    out.removed = left;
    return out;
}

QString text(const Changes &changes)
{
    if (changes.added.isEmpty() && changes.removed.isEmpty())
        return QStringLiteral("no changes");
    QStringList lines;
    lines << QStringLiteral("%1 tags added, %2 removed").arg(changes.added.size()).arg(changes.removed.size());
    for (const StoreCodec::Entry &e : changes.added)
        lines << tagLine('+', e);
    for (const StoreCodec::Entry &e : changes.removed)
        lines << tagLine('-', e);
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace TagComparison
