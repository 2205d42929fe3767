#include "directory/PhoneListNotes.h"

#include "directory/PhoneFields.h"

#include <QStringList>

namespace PhoneListNotes {
namespace {

int fieldIndex(const QList<Table::Field> &fields, const char *name)
{
    for (int i = 0; i < fields.size(); ++i)
        if (fields.at(i).name == name)
            return i;
    return -1;
}

// "row 7 "Name"", or "row 7" for an entry without a name; the name as the
// file has it.
QString entryText(const TableRead &read, int entry, const QString &name)
{
    const QString row = QStringLiteral("row %1").arg(read.fileRows.value(entry));
    return name.isEmpty() ? row : row + QStringLiteral(" \"%1\"").arg(name);
}

QString listed(const QStringList &items)
{
    QStringList shown = items.mid(0, kMaxListed);
    QString text = shown.join(QStringLiteral(", "));
    if (items.size() > kMaxListed)
        text += QStringLiteral(" and %1 more").arg(items.size() - kMaxListed);
    return text;
}

} // namespace

QString text(const TableRead &read, const QString &fileName)
{
    if (!read.spreadsheet)
        return {};
    const QList<Table::Field> fields = PhoneFields::definition();
    const int name = fieldIndex(fields, PhoneFields::Name);
    const int room = fieldIndex(fields, PhoneFields::RoomNumber);

    QStringList replaced, cut, incomplete;
    qsizetype next = 0; // the changes come in entry order
    for (int entry = 0; entry < read.rows.size(); ++entry) {
        const QList<QByteArray> &row = read.rows.at(entry);
        QString shownName = QString::fromLatin1(row.at(name));
        bool hasReplaced = false;
        QStringList cutFields;
        for (; next < read.changes.size() && read.changes.at(next).entry == entry; ++next) {
            const TableRead::Change &change = read.changes.at(next);
            hasReplaced = hasReplaced || change.replaced;
            if (change.cut)
                cutFields << QString::fromLatin1(fields.at(change.field).name);
            if (change.field == name)
                shownName = change.original;
        }
        const QString who = entryText(read, entry, shownName);
        if (hasReplaced)
            replaced << who;
        if (!cutFields.isEmpty())
            cut << who + QStringLiteral(" (%1)").arg(cutFields.join(QStringLiteral(", ")));
        if (row.at(name).isEmpty() || row.at(room).isEmpty())
            incomplete << who;
    }

    QStringList lines;
    if (!replaced.isEmpty())
        lines << QStringLiteral("Characters the panel cannot hold became \"?\" in %1.").arg(listed(replaced));
    if (!cut.isEmpty())
        lines << QStringLiteral("Values longer than their column were cut in %1.").arg(listed(cut));
    if (!incomplete.isEmpty())
        lines << QStringLiteral("Entries without a Name or a Room: %1.").arg(listed(incomplete));
    if (!read.unusedColumns.isEmpty()) {
        QStringList columns;
        for (const QString &column : read.unusedColumns)
            columns << QStringLiteral("\"%1\"").arg(column);
        lines << QStringLiteral("Columns not read: %1.").arg(listed(columns));
    }
    if (lines.isEmpty())
        return {};
    lines.prepend(QStringLiteral("Not everything in %1 could be kept as it stands:").arg(fileName));
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace PhoneListNotes
