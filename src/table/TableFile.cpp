#include "table/TableFile.h"

#include "table/AtomicFile.h"
#include "table/Latin1Text.h"
#include "table/SpreadsheetFile.h"
#include "table/TableFileForm.h"

#include <QFile>


namespace TableFile {

QByteArray escapeValue(const QByteArray &value)
{
    QByteArray out;
    out.reserve(value.size());
    for (char c : value) {
        switch (c) {
        case '%': out.append("%%"); break;
        case '\r': out.append("%c"); break;
        case '\n': out.append("%n"); break;
        case '\0': out.append("%0"); break;
        case ',': out.append("%m"); break;
        default: out.append(c);
        }
    }
    return out;
}

QByteArray unescapeValue(const QByteArray &value)
{
    QByteArray out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value.at(i);
        if (c != '%') {
            out.append(c);
            continue;
        }
        if (i + 1 >= value.size())
            break; // a "%" at the very end is dropped
        const char e = value.at(++i);
        switch (e) {
        case '%': out.append('%'); break;
        case 'c': out.append('\r'); break;
        case 'n': out.append('\n'); break;
        case '0': out.append('\0'); break;
        case 'm': out.append(','); break;
        default:
            // Not one of ours: keep it as it stands.
            out.append('%');
            out.append(e);
        }
    }
    return out;
}

QByteArray format(const Table &table)
{
    QByteArray out;
    const QList<Table::Field> &fields = table.fields();
    for (int f = 0; f < fields.size(); ++f) {
        if (f > 0)
            out.append(',');
        out.append(fields.at(f).name);
    }
    out.append("\r\n");
    for (int r = 0; r < table.count(); ++r) {
        const QList<QByteArray> &row = table.row(r);
        for (int f = 0; f < fields.size(); ++f) {
            if (f > 0)
                out.append(',');
            out.append(escapeValue(row.at(f)));
        }
        out.append("\r\n");
    }
    return out;
}

namespace {
QList<QByteArray> splitLines(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    const auto isEnd = [](char c) { return c == '\r' || c == '\n' || c == '\0'; };
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && !isEnd(bytes.at(end)))
            ++end;
        if (end > start)
            lines.append(bytes.mid(start, end - start));
        while (end < bytes.size() && isEnd(bytes.at(end)))
            ++end;
        start = end;
    }
    return lines;
}

int fieldByName(const QList<Table::Field> &fields, const QByteArray &name)
{
    for (int i = 0; i < fields.size(); ++i)
        if (qstricmp(fields.at(i).name.constData(), name.constData()) == 0)
            return i;
    return -1;
}

// parse(), telling each header column's field in *columns.
QList<QList<QByteArray>> parseOwn(const QByteArray &bytes, const QList<Table::Field> &fields, QList<int> *columns)
{
    QList<QList<QByteArray>> rows;
    const QList<QByteArray> lines = splitLines(bytes);
    if (lines.isEmpty())
        return rows;
    QList<int> &columnField = *columns;
    for (const QByteArray &name : lines.first().split(','))
        columnField.append(fieldByName(fields, name));

    rows.reserve(lines.size() - 1);
    for (qsizetype l = 1; l < lines.size(); ++l) {
        QList<QByteArray> row(fields.size());
        const QList<QByteArray> values = lines.at(l).split(',');
        for (int c = 0; c < values.size() && c < columnField.size(); ++c) {
            const int f = columnField.at(c);
            if (f < 0)
                continue;
            QByteArray value = unescapeValue(values.at(c));
            const Table::Field &field = fields.at(f);
            if (field.type == Table::FieldType::Text && field.width > 0 && value.size() > field.width)
                value.truncate(field.width);
            row[f] = value;
        }
        rows.append(row);
    }
    return rows;
}
} // namespace

QList<QList<QByteArray>> parse(const QByteArray &bytes, const QList<Table::Field> &fields)
{
    QList<int> columns;
    return parseOwn(bytes, fields, &columns);
}

TableRead read(const QByteArray &bytes, const QList<Table::Field> &fields)
{
    const QByteArray text = Latin1Text::utf16AsUtf8(bytes);
    const TableFileForm form = TableFileForm::detect(text, fields);
    if (form.spreadsheet)
        return SpreadsheetFile::parse(text, fields, form);
    TableRead own;
    own.rows = parseOwn(text, fields, &own.columnFields);
    return own;
}

void appendTo(Table &table, const QByteArray &bytes)
{
    for (const QList<QByteArray> &row : parse(bytes, table.fields()))
        table.appendRecord(row);
}

bool saveFile(const QString &fileName, const QByteArray &content, QString *error)
{
    if (AtomicFile::write(fileName, content) == AtomicFile::Result::Saved)
        return true;
    if (error)
        *error = QStringLiteral("Cannot create file %1").arg(fileName);
    return false;
}

bool loadFile(const QString &fileName, QByteArray *content, QString *error, qint64 maxBytes)
{
    const auto fail = [&](const QString &reason) {
        if (error) {
            *error = QStringLiteral("Cannot open file %1").arg(fileName);
            if (!reason.isEmpty())
                *error += QStringLiteral("\r\n") + reason;
        }
        return false;
    };
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return fail({});
    const QString limit = maxBytes % (1024 * 1024) == 0 ? QStringLiteral("%1 MB").arg(maxBytes / (1024 * 1024))
                                                        : QStringLiteral("%1 bytes").arg(maxBytes);
    const QString tooLarge = QStringLiteral("The file is larger than %1, far larger than any list.").arg(limit);
    if (file.size() > maxBytes)
        return fail(tooLarge);
    // The size of a device or a pipe is not known beforehand: read no more
    // than one byte past the limit.
    QByteArray bytes;
    while (bytes.size() <= maxBytes) {
        const QByteArray chunk = file.read(maxBytes + 1 - bytes.size());
        if (chunk.isEmpty())
            break;
        bytes.append(chunk);
    }
    if (file.error() != QFileDevice::NoError)
        return fail({});
    if (bytes.size() > maxBytes)
        return fail(tooLarge);
    *content = bytes;
    return true;
}

} // namespace TableFile
