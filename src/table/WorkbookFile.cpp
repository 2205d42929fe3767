#include "table/WorkbookFile.h"

#include "table/AtomicFile.h"
#include "table/Latin1Text.h"

#include <QFile>
#include <QTemporaryFile>

#include <algorithm>
#include <xlsxwriter.h>

namespace WorkbookFile {

namespace {
constexpr double kNarrowest = 8;
constexpr double kWidest = 48;

QString cannotCreate(const QString &fileName, const QString &why = {})
{
    QString text = QStringLiteral("Cannot create file %1").arg(fileName);
    if (!why.isEmpty())
        text += QStringLiteral("\r\n") + why;
    return text;
}

// Builds the workbook into `path` (a file of our own); empty on success,
// else why not.
QString build(const QByteArray &path, const QString &sheetName, const QList<QList<QByteArray>> &rows)
{
    lxw_workbook *workbook = workbook_new(path.constData());
    if (!workbook)
        return QStringLiteral("The workbook could not be started.");
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, sheetName.toUtf8().constData());
    lxw_format *text = workbook_add_format(workbook);
    format_set_num_format(text, "@"); // Text: nothing in these cells is a number or a formula

    QString why;
    QList<double> widths;
    for (qsizetype r = 0; r < rows.size() && why.isEmpty(); ++r) {
        const QList<QByteArray> &row = rows.at(r);
        for (qsizetype c = 0; c < row.size() && why.isEmpty(); ++c) {
            const QByteArray &value = row.at(c);
            if (widths.size() <= c)
                widths.resize(c + 1, kNarrowest);
            widths[c] = std::clamp(double(value.size()) + 2, widths.at(c), kWidest);
            if (value.isEmpty())
                continue;
            const lxw_error error = worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c),
                                                           Latin1Text::toUtf8(value).constData(), text);
            if (error != LXW_NO_ERROR)
                why = QString::fromUtf8(lxw_strerror(error));
        }
    }
    for (qsizetype c = 0; c < widths.size() && why.isEmpty(); ++c)
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), widths.at(c), text);
    const lxw_error closed = workbook_close(workbook); // frees the workbook in any case
    if (why.isEmpty() && closed != LXW_NO_ERROR)
        why = QString::fromUtf8(lxw_strerror(closed));
    return why;
}
} // namespace

bool isWorkbookName(const QString &fileName)
{
    return fileName.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive);
}

bool write(const QString &fileName, const QString &sheetName, const QList<QList<QByteArray>> &rows,
           QString *error)
{
    // The library writes to a name of its own choosing; the workbook is made
    // in a temporary file and then replaces the chosen file in one step.
    QTemporaryFile scratch;
    if (!scratch.open()) {
        if (error)
            *error = cannotCreate(fileName);
        return false;
    }
    scratch.close();
    const QString why = build(QFile::encodeName(scratch.fileName()), sheetName, rows);
    if (!why.isEmpty()) {
        if (error)
            *error = cannotCreate(fileName, why);
        return false;
    }
    QFile made(scratch.fileName());
    if (!made.open(QIODevice::ReadOnly)
        || AtomicFile::write(fileName, made.readAll()) != AtomicFile::Result::Saved) {
        if (error)
            *error = cannotCreate(fileName);
        return false;
    }
    return true;
}

} // namespace WorkbookFile
