#include "table/SpreadsheetFile.h"

#include "table/CsvText.h"
#include "table/Latin1Text.h"
#include "table/TableFile.h"
#include "table/WorkbookFile.h"

namespace SpreadsheetFile {

char separatorFor(const QLocale &locale)
{
    return locale.decimalPoint() == QStringLiteral(",") ? ';' : ',';
}

namespace {
// Apostrophes, then a character that starts a formula or hides the value.
bool startsLikeFormula(const QByteArray &value)
{
    qsizetype i = 0;
    while (i < value.size() && value.at(i) == '\'')
        ++i;
    return i < value.size() && QByteArrayView("=+-@\t\r\n").contains(value.at(i));
}
} // namespace

QByteArray guardFormula(const QByteArray &value)
{
    return startsLikeFormula(value) ? '\'' + value : value;
}

QByteArray unguardFormula(const QByteArray &value)
{
    return value.startsWith('\'') && startsLikeFormula(value) ? value.sliced(1) : value;
}

QByteArray line(const QList<QByteArray> &values, char separator)
{
    QList<QByteArray> utf8;
    utf8.reserve(values.size());
    for (const QByteArray &value : values)
        utf8.append(Latin1Text::toUtf8(guardFormula(value)));
    return CsvText::line(utf8, separator);
}

QList<QList<QByteArray>> tableRows(const Table &table)
{
    QList<QByteArray> names;
    for (const Table::Field &field : table.fields())
        names.append(field.name);
    QList<QList<QByteArray>> rows{names};
    for (int r = 0; r < table.count(); ++r)
        rows.append(table.row(r));
    return rows;
}

QByteArray tableLines(const Table &table, char separator)
{
    QByteArray out;
    for (const QList<QByteArray> &row : tableRows(table))
        out.append(line(row, separator));
    return out;
}

QByteArray format(const Table &table, char separator)
{
    return QByteArray(kUtf8Bom) + tableLines(table, separator);
}

bool save(const QString &fileName, const QList<QList<QByteArray>> &rows, const QString &sheetName,
          char separator, QString *error)
{
    if (WorkbookFile::isWorkbookName(fileName))
        return WorkbookFile::write(fileName, sheetName, rows, error);
    QByteArray content(kUtf8Bom);
    for (const QList<QByteArray> &row : rows)
        content.append(line(row, separator));
    return TableFile::saveFile(fileName, content, error);
}

namespace {
int fieldByName(const QList<Table::Field> &fields, const QByteArray &name)
{
    for (int i = 0; i < fields.size(); ++i)
        if (qstricmp(fields.at(i).name.constData(), name.constData()) == 0)
            return i;
    return -1;
}

bool blank(const QList<QByteArray> &values)
{
    for (const QByteArray &value : values)
        if (!value.isEmpty())
            return false;
    return true;
}

QString shown(const QByteArray &value, bool utf8)
{
    return utf8 ? QString::fromUtf8(value) : QString::fromLatin1(value);
}
} // namespace

TableRead parse(QByteArrayView bytes, const QList<Table::Field> &fields, const TableFileForm &form)
{
    TableRead read;
    read.spreadsheet = true;
    const CsvText::Split split = CsvText::split(bytes.sliced(form.bomSize), form.separator);
    if (split.records.isEmpty())
        return read;

    QList<int> &columnField = read.columnFields;
    for (const QByteArray &name : split.records.first().values) {
        const QByteArray trimmed = name.trimmed();
        columnField.append(fieldByName(fields, trimmed));
        if (columnField.last() < 0 && !trimmed.isEmpty())
            read.unusedColumns.append(shown(trimmed, form.utf8));
    }

    for (qsizetype r = 1; r < split.records.size(); ++r) {
        const CsvText::Record &record = split.records.at(r);
        if (blank(record.values))
            continue;
        const int entry = int(read.rows.size());
        QList<QByteArray> row(fields.size());
        for (qsizetype c = 0; c < record.values.size() && c < columnField.size(); ++c) {
            const int f = columnField.at(c);
            if (f < 0)
                continue;
            const QByteArray &source = record.values.at(c);
            TableRead::Change change;
            change.entry = entry;
            change.field = f;
            const QByteArray text = unguardFormula(source);
            QByteArray value = form.utf8 ? Latin1Text::fromUtf8(text, &change.replaced) : text;
            const Table::Field &field = fields.at(f);
            if (field.type == Table::FieldType::Text && field.width > 0 && value.size() > field.width) {
                value.truncate(field.width);
                change.cut = true;
            }
            if (change.replaced || change.cut) {
                change.original = shown(source, form.utf8);
                read.changes.append(change);
            }
            row[f] = value;
        }
        read.rows.append(row);
        read.fileRows.append(record.row);
    }
    return read;
}

} // namespace SpreadsheetFile
