// The phone list file: an arbitrary file opened by the phone page's Open,
// saved by Save As, opened and saved again. Every value keeps within its
// field's width, the file the program wrote reads back as the same table,
// and writing that table again gives the same bytes.
//
// Input: the file.
#include "directory/PhoneListFile.h"
#include "support/FuzzApp.h"
#include "support/FuzzCheck.h"
#include "support/FuzzInput.h"
#include "support/ScratchFiles.h"


namespace {

QList<QList<QByteArray>> rowsOf(const Table &table)
{
    QList<QList<QByteArray>> rows;
    for (int row = 0; row < table.count(); ++row)
        rows.append(table.row(row));
    return rows;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString input = ScratchFiles::path(QStringLiteral("input.csv"));
    const QString first = ScratchFiles::path(QStringLiteral("first.csv"));
    const QString second = ScratchFiles::path(QStringLiteral("second.csv"));
    ScratchFiles::put(input, FuzzInput::bytes(data, size));

    FuzzApp app;
    PhoneListFile files(app.ctx);
    const Table &table = app.directory.PhoneTable;
    if (!files.open(input))
        return 0;
    FUZZ_CHECK(!app.directory.TableLoading && app.directory.ScrollSyncOn);
    for (int row = 0; row < table.count(); ++row)
        for (int f = 0; f < table.fields().size(); ++f)
            FUZZ_CHECK(table.value(row, f).size() <= table.fields().at(f).width);
    const QList<QList<QByteArray>> read = rowsOf(table);

    FUZZ_CHECK(files.saveAs(first));
    FUZZ_CHECK(files.open(first));
    FUZZ_CHECK(rowsOf(table) == read);
    FUZZ_CHECK(files.saveAs(second));
    FUZZ_CHECK(ScratchFiles::get(second) == ScratchFiles::get(first));
    return 0;
}
