// The archive view as a user and assistive technology meet it.
#include "ArchiveTestData.h"
#include "PdfText.h"
#include "archive/ArchiveFigureTable.h"
#include "archive/ArchiveSelection.h"
#include "archive/ArchiveTableModel.h"
#include "archive/EventArchive.h"
#include "archive/widgets/ArchiveChartWidget.h"
#include "archive/widgets/ArchiveFilterBar.h"
#include "archive/widgets/ArchiveView.h"
#include "support/AccessibleNames.h"
#include "support/Screenshot.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {
using namespace ArchiveTestData;

constexpr int kSettle = ArchiveFilterBar::kSettleMs * 20;

class ArchiveViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(archive.open());
        log = mixedLog(600, QDateTime(QDate(2026, 3, 1), QTime(6, 0)));
        record(log.mid(0, 500));
        view = std::make_unique<ArchiveView>(archive);
        view->setSiteName(QStringLiteral("Harbour View"));
        view->setMessageSink([this](const QString &text) { messages << text; });
        view->setFileChooser([this](QWidget *, const FileDialog::Kind &kind) {
            asked << kind.title;
            return chosen.isEmpty() ? QString() : dir.filePath(chosen);
        });
        view->resize(1280, 760);
        view->show();
        QCoreApplication::processEvents();
    }

    void record(const QList<PanelEvent> &events)
    {
        EventArchive::Download d;
        d.lines = lines(events);
        d.downloadedAt = events.last().when.addSecs(600);
        ASSERT_TRUE(archive.addDownload(d).ok);
    }

    template<typename T>
    T *find(const char *name)
    {
        T *w = view->findChild<T *>(QLatin1String(name));
        EXPECT_TRUE(w) << name;
        return w;
    }

    QString countText() { return find<QLabel>("archiveCount")->text(); }

    QTemporaryDir dir;
    EventArchive archive{dir.path()};
    QList<PanelEvent> log;
    std::unique_ptr<ArchiveView> view;
    QStringList messages;
    QStringList asked;
    QString chosen;
};
} // namespace

TEST_F(ArchiveViewTest, EveryControlHasANameForAssistiveTechnology)
{
    EXPECT_TRUE(unnamedControls(*view).isEmpty()) << unnamedControls(*view).join(u", ").toStdString();
    // Choices are labelled by their labels (on Linux a choice's name is its
    // value, and its label comes as a relation).
    auto labelOf = [](QWidget *w) {
        QAccessibleInterface *item = QAccessible::queryAccessibleInterface(w);
        const auto labels = item ? item->relations(QAccessible::Label) : decltype(item->relations())();
        return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
    };
    EXPECT_EQ(labelOf(find<QComboBox>("kind")), QStringLiteral("Kind:"));
    EXPECT_EQ(labelOf(find<QComboBox>("source")), QStringLiteral("Source:"));
    EXPECT_EQ(labelOf(find<QComboBox>("relay")), QStringLiteral("Relay:"));
    EXPECT_EQ(accessibleText(find<QLineEdit>("roomOrClient"), QAccessible::Name), QStringLiteral("Room or client:"));
    EXPECT_EQ(accessibleText(find<QDateEdit>("fromDate"), QAccessible::Name), QStringLiteral("From"));
    EXPECT_EQ(accessibleText(find<QTableView>("archiveGrid"), QAccessible::Name), QStringLiteral("Archived events"));
    EXPECT_EQ(accessibleText(find<QTableView>("chartFigures"), QAccessible::Name), QStringLiteral("Chart figures"));
    // The count is read out as it shows.
    EXPECT_EQ(accessibleText(find<QLabel>("archiveCount"), QAccessible::Name), QStringLiteral("500 events"));
    saveScreenshot(*view, QStringLiteral("archive-view"));
}

TEST_F(ArchiveViewTest, TypingATextNarrowsTheGridTheCountAndTheChart)
{
    QLineEdit *text = find<QLineEdit>("roomOrClient");
    QTest::keyClicks(text, QStringLiteral("BAKER"));
    // Nothing is selected while the user is still typing...
    EXPECT_EQ(countText(), QStringLiteral("500 events"));
    // ...but once they stop.
    QSignalSpy changed(view.get(), &ArchiveView::selectionChanged);
    ASSERT_TRUE(changed.wait(kSettle));
    int bakers = 0;
    for (const PanelEvent &e : log.mid(0, 500))
        bakers += e.name == "Baker Tom";
    EXPECT_EQ(countText(), QStringLiteral("%1 events match").arg(bakers));
    EXPECT_EQ(view->model().rowCount(), bakers);
    EXPECT_EQ(view->findChild<ArchiveChartWidget *>()->figures().total, bakers);
    for (int r = 0; r < view->model().rowCount(); ++r)
        EXPECT_EQ(view->model().index(r, int(ArchiveColumn::Client)).data().toString(), QStringLiteral("Baker Tom"));

    // The kind and source choices narrow further; Clear filters shows all.
    find<QComboBox>("kind")->setCurrentIndex(find<QComboBox>("kind")->findText(QStringLiteral("InCall")));
    ASSERT_TRUE(changed.wait(kSettle));
    EXPECT_EQ(countText(), QStringLiteral("0 events match"));
    QTest::mouseClick(find<QPushButton>("clearFilters"), Qt::LeftButton);
    EXPECT_EQ(countText(), QStringLiteral("500 events"));
    EXPECT_TRUE(text->text().isEmpty());
}

TEST_F(ArchiveViewTest, ADateRangeIsSetWithItsBoxesAndDates)
{
    // The date edits offer the archive's own first and last day.
    EXPECT_EQ(find<QDateEdit>("fromDate")->date(), log.first().when.date());
    EXPECT_EQ(find<QDateEdit>("toDate")->date(), log.at(499).when.date());
    EventFilter f;
    f.from = f.to = QDate(2026, 3, 2);
    view->setFilter(f);
    int onDay = 0;
    for (const PanelEvent &e : log.mid(0, 500))
        onDay += e.when.date() == QDate(2026, 3, 2);
    EXPECT_EQ(view->model().rowCount(), onDay);
    EXPECT_TRUE(find<QDateEdit>("fromDate")->isEnabled());
    EXPECT_EQ(view->filter().from, QDate(2026, 3, 2));
}

TEST_F(ArchiveViewTest, AClickOnATitleSortsByItAndAgainReverses)
{
    QHeaderView *header = find<QTableView>("archiveGrid")->horizontalHeader();
    const int client = int(ArchiveColumn::Client);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(client) + 5, header->height() / 2));
    const ArchiveSort first = view->model().selection().sort();
    EXPECT_EQ(first.column, ArchiveColumn::Client);
    const QString top = view->model().index(0, client).data().toString();
    const QString bottom = view->model().index(499, client).data().toString();
    const bool up = first.order == Qt::AscendingOrder;
    EXPECT_EQ(top, up ? QStringLiteral("Adams Helen") : QStringLiteral("O'Neil Ann"));
    EXPECT_EQ(bottom, up ? QStringLiteral("O'Neil Ann") : QStringLiteral("Adams Helen"));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(client) + 5, header->height() / 2));
    EXPECT_NE(view->model().selection().sort().order, first.order);
    EXPECT_EQ(view->model().index(0, client).data().toString(), bottom);
}

TEST_F(ArchiveViewTest, NewDownloadsShowAfterARefresh)
{
    record(log.mid(400, 200));
    EXPECT_EQ(countText(), QStringLiteral("500 events"));
    QTest::mouseClick(find<QPushButton>("refresh"), Qt::LeftButton);
    EXPECT_EQ(countText(), QStringLiteral("600 events"));
    EXPECT_EQ(view->model().rowCount(), 600);
}

TEST_F(ArchiveViewTest, TheChartIsSavedAsPngAndSvg)
{
    chosen = QStringLiteral("chart.png");
    QTest::mouseClick(find<QPushButton>("chartPng"), Qt::LeftButton);
    QImageReader png(dir.filePath(chosen));
    EXPECT_EQ(png.format(), QByteArray("png"));
    EXPECT_EQ(png.size(), QSize(1600, 1000));

    chosen = QStringLiteral("chart.svg");
    QTest::mouseClick(find<QPushButton>("chartSvg"), Qt::LeftButton);
    QFile svg(dir.filePath(chosen));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray drawing = svg.readAll();
    EXPECT_TRUE(drawing.contains("<svg"));
    EXPECT_TRUE(drawing.contains("Events per hour of the day"));
    EXPECT_TRUE(drawing.contains("<title>Events Harbour View</title>"));

    // Cancelled: nothing written, nothing said.
    chosen.clear();
    QTest::mouseClick(find<QPushButton>("chartPng"), Qt::LeftButton);
    EXPECT_TRUE(messages.isEmpty());
    // A file that cannot be written is said.
    chosen = QStringLiteral("missing/chart.png");
    QTest::mouseClick(find<QPushButton>("chartPng"), Qt::LeftButton);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.at(0).startsWith(QStringLiteral("Cannot create file")));
}

TEST_F(ArchiveViewTest, TheReportGoesToAPdfAndThroughThePrintersPreview)
{
    EventFilter f;
    f.text = QStringLiteral("InCall");
    view->setFilter(f);
    chosen = QStringLiteral("report.pdf");
    QTest::mouseClick(find<QPushButton>("reportPdf"), Qt::LeftButton);
    EXPECT_TRUE(asked.contains(QStringLiteral("Save Report as PDF")));
    const QString text = pdfText(dir.filePath(chosen));
    EXPECT_TRUE(text.contains(QStringLiteral("Events of Harbour View")));
    EXPECT_TRUE(text.contains(QStringLiteral("Room or client contains: InCall")));
    // Room and client of each call, and the filter's line.
    EXPECT_EQ(text.count(QStringLiteral("InCall")), 2 * view->model().rowCount() + 1);

    // Print: the preview gets the report, and the printer (here one that
    // writes a PDF) gets the same pages.
    int previews = 0;
    view->setPreviewer([&](QWidget *, const Report &report) {
        ++previews;
        EXPECT_EQ(report.rowCount, view->model().rowCount());
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("printed.pdf")));
        EXPECT_TRUE(ReportPrinter::print(report, printer));
    });
    QTest::mouseClick(find<QPushButton>("reportPrint"), Qt::LeftButton);
    EXPECT_EQ(previews, 1);
    const QString printed = pdfText(dir.filePath(QStringLiteral("printed.pdf")));
    EXPECT_EQ(printed.count(QStringLiteral("InCall")), 2 * view->model().rowCount() + 1);
}

TEST_F(ArchiveViewTest, TheMatchesAreExportedForOtherPrograms)
{
    chosen = QStringLiteral("events.csv");
    QTest::mouseClick(find<QPushButton>("exportCsv"), Qt::LeftButton);
    QFile csv(dir.filePath(chosen));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll().count("\r\n"), 501);
    chosen = QStringLiteral("events.json");
    QTest::mouseClick(find<QPushButton>("exportJson"), Qt::LeftButton);
    QFile json(dir.filePath(chosen));
    ASSERT_TRUE(json.open(QIODevice::ReadOnly));
    EXPECT_EQ(QJsonDocument::fromJson(json.readAll()).array().size(), 500);
}

TEST(ArchiveTableModel, KeepsTheModelContractAndAFewPagesOnly)
{
    QTemporaryDir dir;
    EventArchive archive(dir.path());
    ASSERT_TRUE(archive.open());
    EventArchive::Download d;
    d.lines = lines(mixedLog(2500));
    d.downloadedAt = QDateTime(QDate(2026, 3, 1), QTime(0, 0));
    ASSERT_TRUE(archive.addDownload(d).ok);
    ArchiveTableModel model(archive);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    ASSERT_TRUE(model.setFilter({}));
    EXPECT_EQ(model.rowCount(), 2500);
    model.sort(int(ArchiveColumn::Room), Qt::DescendingOrder);
    model.sort(int(ArchiveColumn::Downloaded));
    // Every row readable from first to last, in the panel's order.
    const QList<QByteArray> sent = d.lines;
    for (int r = 0; r < 2500; r += 7)
        ASSERT_EQ(model.eventAt(r)->line, sent.at(r)) << r;
    EXPECT_EQ(model.data(model.index(2499, int(ArchiveColumn::Date))).toString(),
              model.eventAt(2499)->dateText());
    EXPECT_FALSE(model.data(model.index(2500, 0)).isValid());
}

TEST(ArchiveFigureTable, HoursThenDaysThenWithoutADate)
{
    ArchiveFigures f;
    f.perHour[14] = 3;
    f.firstDay = QDate(2026, 3, 1);
    f.perDay = {2, 0, 1};
    f.undated = 4;
    ArchiveFigureTable table;
    table.setFigures(f);
    ASSERT_EQ(table.rowCount(), 24 + 3 + 1);
    EXPECT_EQ(table.index(14, 0).data().toString(), QStringLiteral("14:00-14:59"));
    EXPECT_EQ(table.index(14, 1).data().toString(), QStringLiteral("3"));
    EXPECT_EQ(table.index(25, 0).data().toString(), QStringLiteral("2026-03-02"));
    EXPECT_EQ(table.index(25, 1).data().toString(), QStringLiteral("0"));
    EXPECT_EQ(table.index(27, 0).data().toString(), QStringLiteral("without a date"));
    EXPECT_EQ(table.index(27, 1).data().toString(), QStringLiteral("4"));
}

TEST(ArchiveViewClosed, AnArchiveThatCannotBeReadIsSaidWhereTheCountStands)
{
    QTemporaryDir dir;
    EventArchive archive(dir.path()); // never opened
    ArchiveView view(archive);
    QStringList messages;
    view.setMessageSink([&](const QString &text) { messages << text; });
    view.refresh();
    EXPECT_EQ(view.model().rowCount(), 0);
    EXPECT_TRUE(view.findChild<QLabel *>(QStringLiteral("archiveCount"))
                    ->text()
                    .startsWith(QStringLiteral("The event archive cannot be read")));
    EXPECT_TRUE(messages.isEmpty());
}
