#include "directory/DirectoryComparison.h"

#include "directory/PhoneFields.h"
#include "table/Table.h"

#include <functional>

namespace {

// The entry as the panel would hold it after writing it.
PanelEntry asStored(const PanelEntry &e)
{
    PanelEntry out = ParsePanelEntry(
        "0000," + PanelEntryText(e.RoomNumber, e.Code1, e.Code2, e.Spare, e.PHnumber, e.Name));
    out.SlotAddress = e.SlotAddress;
    return out;
}

bool sameContent(const PanelEntry &a, const PanelEntry &b)
{
    return a.Name == b.Name && a.RoomNumber == b.RoomNumber && a.PHnumber == b.PHnumber && a.Code1 == b.Code1
        && a.Code2 == b.Code2 && a.Spare == b.Spare;
}

QString show(const QByteArray &value)
{
    return value.isEmpty() ? QStringLiteral("(empty)") : QString::fromLatin1(value);
}

QString who(const PanelEntry &e)
{
    return QStringLiteral("%1 (%2)").arg(QString::fromLatin1(e.Name), QString::fromLatin1(e.RoomNumber));
}

} // namespace

QList<PanelEntry> DirectoryComparison::tableEntries(const Table &table)
{
    QList<PanelEntry> out;
    for (int row = 0; row < table.count(); ++row) {
        const auto f = [&](const char *field) { return table.value(row, QByteArray(field)); };
        out.append({f(PhoneFields::Addr), f(PhoneFields::RoomNumber), f(PhoneFields::Code1), f(PhoneFields::Code2),
                    f(PhoneFields::Spare), f(PhoneFields::PHnumber), f(PhoneFields::Name)});
    }
    return out;
}

DirectoryComparison DirectoryComparison::compare(const QList<PanelEntry> &panel, const QList<PanelEntry> &list)
{
    QList<PanelEntry> before, after;
    for (const PanelEntry &e : panel)
        before.append(asStored(e));
    for (const PanelEntry &e : list)
        after.append(asStored(e));

    DirectoryComparison out;
    const auto pairUp = [&](const std::function<bool(const PanelEntry &, const PanelEntry &)> &same, bool isChange) {
        for (qsizetype i = 0; i < after.size();) {
            qsizetype match = -1;
            for (qsizetype j = 0; j < before.size() && match < 0; ++j)
                if (same(before.at(j), after.at(i)))
                    match = j;
            if (match < 0) {
                ++i;
                continue;
            }
            if (isChange)
                out.changed.append({before.at(match), after.at(i)});
            else
                ++out.unchanged;
            before.removeAt(match);
            after.removeAt(i);
        }
    };
    pairUp(sameContent, false);
    pairUp([](const PanelEntry &a, const PanelEntry &b) { return a.Name == b.Name; }, true);
    pairUp([](const PanelEntry &a, const PanelEntry &b) { return a.RoomNumber == b.RoomNumber; }, true);
    out.removed = before;
    out.added = after;
    return out;
}

QString DirectoryComparison::text() const
{
    if (isEmpty())
        return QStringLiteral("no changes");
    QStringList lines;
    lines << QStringLiteral("%1 added, %2 removed, %3 changed, %4 unchanged")
                 .arg(added.size())
                 .arg(removed.size())
                 .arg(changed.size())
                 .arg(unchanged);
    for (const PanelEntry &e : added)
        lines << QStringLiteral("+ ") + who(e);
    for (const PanelEntry &e : removed)
        lines << QStringLiteral("- ") + who(e);
    for (const Change &c : changed) {
        QStringList fields;
        const auto field = [&](const char *name, const QByteArray &a, const QByteArray &b) {
            if (a != b)
                fields << QStringLiteral("%1 %2 -> %3").arg(QLatin1String(name), show(a), show(b));
        };
        field("Name", c.before.Name, c.after.Name);
        field("RoomNumber", c.before.RoomNumber, c.after.RoomNumber);
        field("PHnumber", c.before.PHnumber, c.after.PHnumber);
        field("Code1", c.before.Code1, c.after.Code1);
        field("Code2", c.before.Code2, c.after.Code2);
        field("spare", c.before.Spare, c.after.Spare);
        lines << QStringLiteral("* ") + who(c.before) + QStringLiteral(": ") + fields.join(QStringLiteral(", "));
    }
    return lines.join(QStringLiteral("\r\n"));
}
