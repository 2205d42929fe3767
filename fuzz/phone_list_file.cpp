// The phone list file: an arbitrary file opened by the phone page's Open
// (in this program's form or a spreadsheet's), then saved, exported for
// spreadsheets with "," and ";", and each of those opened and written again.
// Every value keeps within its field's width, tag codes come in upper case,
// a file the program saved reads back as the same table and is written again
// byte for byte, and an exported file reads back as the same table less its
// all-empty entries, which is what the second export holds.
//
// Input: the file.
#include "directory/PhoneListFile.h"
#include "directory/PhoneFields.h"
#include "support/FuzzApp.h"
#include "support/FuzzCheck.h"
#include "support/FuzzInput.h"
#include "support/ScratchFiles.h"
#include "table/Latin1Text.h"
#include "table/SpreadsheetFile.h"

namespace {

using Rows = QList<QList<QByteArray>>;

Rows rowsOf(const Table &table)
{
    Rows rows;
    for (int row = 0; row < table.count(); ++row)
        rows.append(table.row(row));
    return rows;
}

Rows withoutBlankRows(const Rows &rows)
{
    Rows kept;
    for (const QList<QByteArray> &row : rows)
        for (const QByteArray &value : row)
            if (!value.isEmpty()) {
                kept.append(row);
                break;
            }
    return kept;
}

QList<QByteArray> namesOf(const Table &table)
{
    QList<QByteArray> names;
    for (const Table::Field &field : table.fields())
        names.append(field.name);
    return names;
}

QString scratch(const char *name)
{
    return ScratchFiles::path(QLatin1String(name));
}

void checkExport(PhoneListFile &files, const Table &table, const Rows &read, char separator)
{
    FUZZ_CHECK(files.exportTo(scratch("sheet.csv"), separator));
    FUZZ_CHECK(files.open(scratch("sheet.csv")));
    FUZZ_CHECK(rowsOf(table) == withoutBlankRows(read));
    // Written again, it is the first export less the lines of those entries.
    QByteArray expected = QByteArray(SpreadsheetFile::kUtf8Bom) + SpreadsheetFile::line(namesOf(table), separator);
    for (const QList<QByteArray> &row : withoutBlankRows(read))
        expected += SpreadsheetFile::line(row, separator);
    FUZZ_CHECK(files.exportTo(scratch("sheet-again.csv"), separator));
    FUZZ_CHECK(ScratchFiles::get(scratch("sheet-again.csv")) == expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ScratchFiles::put(scratch("input.csv"), FuzzInput::bytes(data, size));
    FuzzApp app;
    PhoneListFile files(app.ctx);
    const Table &table = app.directory.PhoneTable;
    FUZZ_CHECK(files.open(scratch("input.csv")));
    FUZZ_CHECK(!app.directory.TableLoading && app.directory.ScrollSyncOn);
    const int rfid = table.fieldIndex(PhoneFields::Rfid);
    for (int row = 0; row < table.count(); ++row) {
        for (int f = 0; f < table.fields().size(); ++f)
            FUZZ_CHECK(table.value(row, f).size() <= table.fields().at(f).width);
        FUZZ_CHECK(table.value(row, rfid) == table.value(row, rfid).toUpper());
    }
    const Rows read = rowsOf(table);

    FUZZ_CHECK(files.saveAs(scratch("saved.csv")));
    const QByteArray saved = ScratchFiles::get(scratch("saved.csv"));
    // Known limit of the form's detection: 8-bit text that happens to be
    // valid UTF-8 throughout is taken for a spreadsheet's UTF-8.
    if (!Latin1Text::isUtf8(saved)) {
        FUZZ_CHECK(files.open(scratch("saved.csv")));
        FUZZ_CHECK(rowsOf(table) == read);
        FUZZ_CHECK(files.saveAs(scratch("saved-again.csv")));
        FUZZ_CHECK(ScratchFiles::get(scratch("saved-again.csv")) == saved);
    }
    checkExport(files, table, read, ',');
    checkExport(files, table, read, ';');
    return 0;
}
