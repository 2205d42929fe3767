#include "history/HistoryVersion.h"

#include <QJsonArray>

namespace HistoryActions {

QString word(HistoryAction action)
{
    switch (action) {
    case HistoryAction::Read: return QStringLiteral("read");
    case HistoryAction::Backup: return QStringLiteral("backup");
    case HistoryAction::Write: break;
    }
    return QStringLiteral("write");
}

std::optional<HistoryAction> fromWord(const QString &text)
{
    for (HistoryAction a : {HistoryAction::Read, HistoryAction::Backup, HistoryAction::Write})
        if (word(a) == text)
            return a;
    return std::nullopt;
}

} // namespace HistoryActions

namespace HistoryKinds {

QString inText(BackupKind kind)
{
    return kind == BackupKind::Tags ? BackupKinds::caption(kind) : BackupKinds::caption(kind).toLower();
}

} // namespace HistoryKinds

QString changeCounts(int added, int removed, int changed)
{
    QStringList parts;
    if (added > 0)
        parts << QStringLiteral("%1 added").arg(added);
    if (removed > 0)
        parts << QStringLiteral("%1 removed").arg(removed);
    if (changed > 0)
        parts << QStringLiteral("%1 changed").arg(changed);
    return parts.join(QStringLiteral(", "));
}

QString HistoryWriteResult::text() const
{
    QString out;
    if (cutShort)
        out = QStringLiteral("cut short after %1 of %2").arg(written).arg(total);
    else if (written >= total && refused == 0)
        return QStringLiteral("written");
    else
        out = QStringLiteral("written %1 of %2").arg(written).arg(total);
    if (refused > 0)
        out += QStringLiteral(", %1 refused").arg(refused);
    return out;
}

QJsonObject HistoryWriteResult::toJson() const
{
    QJsonObject o;
    o.insert(QStringLiteral("status"), cutShort       ? QStringLiteral("cut short")
                                       : refused > 0  ? QStringLiteral("refused")
                                       : written < total ? QStringLiteral("incomplete")
                                                      : QStringLiteral("written"));
    o.insert(QStringLiteral("written"), written);
    o.insert(QStringLiteral("total"), total);
    o.insert(QStringLiteral("refused"), refused);
    o.insert(QStringLiteral("refusedItems"), QJsonArray::fromStringList(refusedItems));
    o.insert(QStringLiteral("text"), text());
    return o;
}

QString HistoryVersion::changeText() const
{
    if (isFirst())
        return QStringLiteral("first version");
    const QString counts = changeCounts(added, removed, changed);
    return counts.isEmpty() ? QStringLiteral("no changes") : counts;
}

QString HistoryVersion::entriesText() const
{
    QString unit;
    switch (kind) {
    case BackupKind::Directory: unit = entries == 1 ? QStringLiteral("resident") : QStringLiteral("residents"); break;
    case BackupKind::Parameters: unit = entries == 1 ? QStringLiteral("record") : QStringLiteral("records"); break;
    case BackupKind::Tags: unit = entries == 1 ? QStringLiteral("tag") : QStringLiteral("tags"); break;
    }
    return QString::number(entries) + QLatin1Char(' ') + unit;
}

QJsonObject HistoryVersion::toJson() const
{
    QJsonObject o;
    o.insert(QStringLiteral("id"), id);
    o.insert(QStringLiteral("time"), time.toUTC().toString(Qt::ISODateWithMs));
    o.insert(QStringLiteral("kind"), BackupKinds::word(kind));
    o.insert(QStringLiteral("action"), HistoryActions::word(action));
    o.insert(QStringLiteral("who"), who);
    o.insert(QStringLiteral("via"), via);
    o.insert(QStringLiteral("model"), model);
    o.insert(QStringLiteral("entries"), entries);
    o.insert(QStringLiteral("added"), added);
    o.insert(QStringLiteral("removed"), removed);
    o.insert(QStringLiteral("changed"), changed);
    o.insert(QStringLiteral("previous"), previous == 0 ? QJsonValue() : QJsonValue(previous));
    o.insert(QStringLiteral("lastSeen"), lastSeen.toUTC().toString(Qt::ISODateWithMs));
    o.insert(QStringLiteral("seen"), seen);
    if (result)
        o.insert(QStringLiteral("result"), result->toJson());
    if (!note.isEmpty())
        o.insert(QStringLiteral("note"), note);
    return o;
}
