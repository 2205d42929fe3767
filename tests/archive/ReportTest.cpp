// Printed reports: title, lines, picture and a table over as many pages as it
// takes with its header on each, written as a PDF and read back.
#include "PdfText.h"
#include "table/Report.h"

#include <QFile>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
Report numbered(qint64 rows, QList<int> *requests = nullptr)
{
    Report r;
    r.title = QStringLiteral("Test listing");
    r.meta << QStringLiteral("Site: Harbour View") << QStringLiteral("Everything");
    r.columns = {QStringLiteral("Number"), QStringLiteral("Name"), QStringLiteral("Note")};
    r.rowCount = rows;
    r.rows = [rows, requests](qint64 first, int count) {
        if (requests)
            requests->append(count);
        QList<QStringList> out;
        for (qint64 i = first; i < qMin(rows, first + count); ++i)
            out << QStringList{QStringLiteral("Row %1").arg(i + 1, 4, 10, QLatin1Char('0')),
                               QStringLiteral("R\u00e9sident %1").arg(i + 1), QStringLiteral("note")};
        return out;
    };
    return r;
}
} // namespace

TEST(Report, RowsRunOverPagesWithTheHeaderOnEachAndAreAllThere)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("listing.pdf"));
    QList<int> requests;
    Report r = numbered(250, &requests);
    bool pictured = false;
    r.picture = [&pictured](QPainter &p, const QRectF &rect) {
        pictured = true;
        p.drawText(rect, Qt::AlignCenter, QStringLiteral("PICTURE HERE"));
    };
    QString error;
    ASSERT_TRUE(ReportPrinter::writePdf(r, file, &error)) << error.toStdString();
    EXPECT_TRUE(pictured);

    const QString text = pdfText(file);
    const int pages = pdfPages(text);
    EXPECT_GE(pages, 3);
    EXPECT_TRUE(text.contains(QStringLiteral("Test listing")));
    EXPECT_TRUE(text.contains(QStringLiteral("Site: Harbour View")));
    EXPECT_EQ(text.count(QStringLiteral("PICTURE HERE")), 1);
    for (int i = 1; i <= 250; ++i)
        EXPECT_EQ(text.count(QStringLiteral("Row %1").arg(i, 4, 10, QLatin1Char('0'))), 1) << i;
    EXPECT_TRUE(text.contains(QStringLiteral("R\u00e9sident 250")));
    // The column titles on every page, and every page numbered.
    const QStringList pageTexts = text.split(u'\f');
    for (int p = 0; p < pages; ++p) {
        EXPECT_TRUE(pageTexts.at(p).contains(QStringLiteral("Number"))) << "page " << p + 1;
        EXPECT_TRUE(pageTexts.at(p).contains(QStringLiteral("Page %1 of %2").arg(p + 1).arg(pages))) << "page " << p + 1;
    }
    // Rows are asked for a page (or a sample) at a time, never all at once.
    for (int n : requests)
        EXPECT_LT(n, 250);
}

TEST(Report, AnEmptyReportSaysSoOnOnePage)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("empty.pdf"));
    Report r = numbered(0);
    r.noRowsText = QStringLiteral("Nothing matches.");
    ASSERT_TRUE(ReportPrinter::writePdf(r, file));
    const QString text = pdfText(file);
    EXPECT_EQ(pdfPages(text), 1);
    EXPECT_TRUE(text.contains(QStringLiteral("Nothing matches.")));
}

TEST(Report, AFileThatCannotBeWrittenIsReportedAndAnOlderOneStaysWhole)
{
    QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(ReportPrinter::writePdf(numbered(5), dir.filePath(QStringLiteral("no/such/folder/x.pdf")), &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot create file"))) << error.toStdString();

    // Stopped half way (the user cancelled): the file from before is kept.
    const QString file = dir.filePath(QStringLiteral("kept.pdf"));
    QFile old(file);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older report");
    old.close();
    Report r = numbered(500);
    r.progress = [](int page, int) { return page < 2; };
    EXPECT_FALSE(ReportPrinter::writePdf(r, file, &error));
    EXPECT_FALSE(error.isEmpty());
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("an older report"));
}

TEST(Report, LongTextsAreCutToTheirColumnNotOverTheNext)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("wide.pdf"));
    Report r;
    r.title = QStringLiteral("Wide");
    r.columns = {QStringLiteral("A"), QStringLiteral("B")};
    r.rowCount = 1;
    r.rows = [](qint64, int) {
        return QList<QStringList>{{QStringLiteral("x").repeated(400), QStringLiteral("SECONDCOLUMN")}};
    };
    ASSERT_TRUE(ReportPrinter::writePdf(r, file));
    const QString text = pdfText(file);
    EXPECT_TRUE(text.contains(QStringLiteral("SECONDCOLUMN")));
    EXPECT_FALSE(text.contains(QStringLiteral("x").repeated(400)));
    EXPECT_TRUE(text.contains(u'\u2026')); // the cut is shown
}
