// "Export for spreadsheet..." as a spreadsheet program sees it: LibreOffice,
// headless, opens both forms the phone page writes and saves what it shows
// as plain comma-separated text. Nothing may run as a formula, and the
// workbook keeps every value as typed, leading zeros included.
#include "directory/PhoneListFile.h"
#include "support/AppHarness.h"
#include "table/CsvText.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

namespace {
// The cells of a CSV file that LibreOffice wrote, row by row.
QList<QList<QByteArray>> cellsOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray text = file.readAll();
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    QList<QList<QByteArray>> rows;
    for (const CsvText::Record &record : CsvText::split(text, ',').records)
        rows << record.values;
    return rows;
}
} // namespace

TEST(SpreadsheetProgram, SeesTextNotFormulasAndTheWorkbookKeepsLeadingZeros)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "LibreOffice's soffice is not installed: scripts/install-deps.sh installs "
                        "libreoffice-calc-nogui";

    AppHarness h;
    PhoneListFile file{h.ctx};
    QTemporaryDir dir;
    Table &table = h.directory.PhoneTable;
    table.appendRecord({"=1+1", "101", "0171234567", "0042", "0007", "", "", "1000"});
    table.appendRecord({"@SUM(A1)", "0102", "+4930123456", "-1", "", "1", "0A1B2C3D4E", "1020"});
    table.appendRecord({"-2+3", "103", "=2*3", "", "+7", "", "1234567890", "1040"});
    table.appendRecord({"Smith, J", "104", "", "", "", "", "", "1060"});
    const QList<QByteArray> names = {"=1+1", "@SUM(A1)", "-2+3", "Smith, J"};
    const QString sheet = QDir(dir.path()).filePath(QStringLiteral("sheet.csv"));
    const QString book = QDir(dir.path()).filePath(QStringLiteral("book.xlsx"));
    ASSERT_TRUE(file.exportTo(sheet, ','));
    ASSERT_TRUE(file.exportTo(book, ','));

    // One start of LibreOffice for both files, with a profile of its own.
    const QString shown = QDir(dir.path()).filePath(QStringLiteral("shown"));
    QProcess office;
    office.setProcessChannelMode(QProcess::MergedChannels);
    office.start(soffice, {QStringLiteral("-env:UserInstallation=")
                               + QUrl::fromLocalFile(QDir(dir.path()).filePath(QStringLiteral("profile"))).toString(),
                           QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("csv"),
                           QStringLiteral("--outdir"), shown, sheet, book});
    ASSERT_TRUE(office.waitForFinished(180000)) << "soffice did not finish";
    const QByteArray said = office.readAll();
    ASSERT_EQ(office.exitCode(), 0) << said.constData();

    // The workbook: every value a text cell, exactly as the table holds it.
    const QList<QList<QByteArray>> fromBook = cellsOf(QDir(shown).filePath(QStringLiteral("book.csv")));
    ASSERT_EQ(fromBook.size(), table.count() + 1) << said.constData();
    EXPECT_EQ(fromBook.first(), (QList<QByteArray>{"Name", "RoomNumber", "PHnumber", "Code1", "Code2", "spare",
                                                   "RFID", "Addr"}));
    for (int r = 0; r < table.count(); ++r)
        EXPECT_EQ(fromBook.at(r + 1), table.row(r)) << "row " << r;

    // The comma-separated form: what would run as a formula shows as text,
    // and the list LibreOffice saves opens with the values as they were.
    const QString sheetShown = QDir(shown).filePath(QStringLiteral("sheet.csv"));
    const QList<QList<QByteArray>> fromSheet = cellsOf(sheetShown);
    ASSERT_EQ(fromSheet.size(), table.count() + 1) << said.constData();
    for (int r = 0; r < table.count(); ++r)
        EXPECT_TRUE(fromSheet.at(r + 1).first().endsWith(names.at(r))) << fromSheet.at(r + 1).first().constData();
    ASSERT_TRUE(file.open(sheetShown));
    for (int r = 0; r < table.count(); ++r) {
        EXPECT_EQ(table.value(r, "Name"), names.at(r));
        EXPECT_EQ(table.value(r, "RFID"), QList<QByteArray>({"", "0A1B2C3D4E", "1234567890", ""}).at(r));
    }
    EXPECT_EQ(table.value(1, "PHnumber"), QByteArray("+4930123456"));
    EXPECT_EQ(table.value(2, "PHnumber"), QByteArray("=2*3"));
    EXPECT_EQ(table.value(1, "Code1"), QByteArray("-1"));
    EXPECT_EQ(table.value(2, "Code2"), QByteArray("+7"));
}
