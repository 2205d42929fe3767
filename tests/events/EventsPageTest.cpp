#include "events/EventFile.h"
#include "events/widgets/EventFileDialog.h"
#include "events/widgets/EventsPage.h"
#include "EventLines.h"
#include "EventPanel.h"
#include "support/AccessibleNames.h"
#include "support/AppHarness.h"
#include "support/Screenshot.h"
#include "table/widgets/TableGrid.h"

#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {
const QDateTime kAt(QDate(2026, 11, 12), QTime(14, 46, 0));
// The main window's page area.
constexpr QSize kPageArea(760, 430);
} // namespace

class EventsPageTest : public ::testing::Test
{
protected:
    EventsPageTest()
    {
        h.logOn();
        panel.events = {EventLines::line(EventLines::room4711(), "0C0B1A", "0E2D05", '1', '2', "Zed"),
                        EventLines::line(EventLines::button('3'), "0C0B1A", "0F0000", '1', '0'),
                        EventLines::line("0102FFFFFFFF", "0D0B1A", "081E00", '2', '1', "Amy")};
        page.setComputerClock(
            ComputerClock([] { return kAt; }, QLocale(QLocale::English, QLocale::UnitedKingdom)));
        page.setOnline(true);
        page.resize(kPageArea);
        page.show();
    }

    template <typename T = QLineEdit> T *control(const char *name)
    {
        T *w = page.findChild<T *>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString text(const char *name) { return control(name)->text(); }
    TableGrid *grid() { return control<TableGrid>("DBGrid2"); }
    QString cell(int row, const char *field)
    {
        TableModel *model = grid()->tableModel();
        return model->data(model->index(row, model->columnOfField(field))).toString();
    }
    void clickTitle(const char *field)
    {
        QHeaderView *header = grid()->horizontalHeader();
        const int section = grid()->tableModel()->columnOfField(field);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(section) + 4, header->height() / 2));
    }
    void download() { control<QPushButton>("dnLoad")->click(); }

    AppHarness h;
    EventPanel panel{h.port};
    EventsPage page{h.ctx};
};

TEST_F(EventsPageTest, ADownloadFillsTheGridTheClocksAndTheDetailsAndOffersSaveAs)
{
    EXPECT_EQ(text("Stime"), QStringLiteral("00:00:00"));
    EXPECT_EQ(text("Sdate"), QStringLiteral("00/00"));
    EXPECT_EQ(text("Cdate"), QStringLiteral("00/00/00"));
    EXPECT_EQ(grid()->tableModel()->rowCount(), 0);
    QSignalSpy offered(&page, &EventsPage::saveAsOffered);

    download();

    EXPECT_EQ(h.port.commands(), (QList<QByteArray>{"", "t", "e"}));
    EXPECT_EQ(offered.count(), 1);
    EXPECT_TRUE(page.EventsLoaded());
    EXPECT_EQ(text("Stime"), QStringLiteral("14:45:13"));
    EXPECT_EQ(text("Sdate"), QStringLiteral("12/11/26"));
    EXPECT_EQ(text("Ctime"), QStringLiteral("14:46:00"));
    EXPECT_EQ(text("Cdate"), QStringLiteral("12/11/2026"));

    ASSERT_EQ(grid()->tableModel()->rowCount(), 3);
    EXPECT_EQ(grid()->tableModel()->visibleFields(),
              (QList<QByteArray>{"Event", "RoomNumber", "Date", "Time", "RlyNo", "Source", "Client"}));
    EXPECT_EQ(cell(1, "RoomNumber"), QStringLiteral("Butt.3"));
    EXPECT_EQ(grid()->currentIndex().row(), 0);
    EXPECT_EQ(text("E_Numb"), QStringLiteral("1"));
    EXPECT_EQ(text("E_Room"), QStringLiteral("4711"));
    EXPECT_EQ(text("E_Client"), QStringLiteral("Zed").leftJustified(16)); // the name as sent
    EXPECT_EQ(text("E_relay"), QStringLiteral("1"));
    EXPECT_EQ(text("E_source"), QStringLiteral("RF-ID"));
    EXPECT_EQ(text("E_time"), QStringLiteral("14:45:05"));
    EXPECT_EQ(text("E_date"), QStringLiteral("12/11/26"));

    // A row chosen in the grid becomes the current event.
    grid()->setCurrentIndex(grid()->tableModel()->index(2, 1));
    EXPECT_EQ(page.eventLog().EventTable.position(), 3);
    EXPECT_EQ(text("E_Numb"), QStringLiteral("3"));
    EXPECT_EQ(text("E_Room"), QStringLiteral("12"));
    EXPECT_EQ(text("E_source"), QStringLiteral("Remote"));

    // What is typed into the details never reaches the table.
    QTest::keyClicks(control("E_relay"), "9");
    grid()->setCurrentIndex(grid()->tableModel()->index(0, 1));
    grid()->setCurrentIndex(grid()->tableModel()->index(2, 1));
    EXPECT_EQ(text("E_relay"), QStringLiteral("2"));
    EXPECT_EQ(cell(2, "RlyNo"), QStringLiteral("2"));
}

// A failed download shows the panel's clock just read, says on the page
// that it failed, and leaves "Loaded At" with the rows it belongs to.
TEST_F(EventsPageTest, AFailedDownloadSaysSoOnThePageAndOffersNothing)
{
    QLabel *problem = control<QLabel>("dnLoadProblem");
    EXPECT_FALSE(problem->isVisible());
    panel.silentToE = true;
    QSignalSpy offered(&page, &EventsPage::saveAsOffered);
    download();
    EXPECT_EQ(offered.count(), 0);
    EXPECT_FALSE(page.EventsLoaded());
    EXPECT_EQ(text("Stime"), QStringLiteral("14:45:13"));
    EXPECT_EQ(text("Ctime"), QStringLiteral("00:00:00"));
    EXPECT_EQ(grid()->tableModel()->rowCount(), 0);
    EXPECT_EQ(text("E_Numb"), QString());
    EXPECT_TRUE(problem->isVisible());
    EXPECT_TRUE(problem->text().startsWith(QStringLiteral("Down Load failed: Not on line."))) << problem->text().toStdString();
    EXPECT_EQ(accessibleText(problem, QAccessible::Name), problem->text()); // read out as it shows
    EXPECT_LE(page.minimumSizeHint().height(), kPageArea.height());
    saveScreenshot(page, QStringLiteral("events-page-failed"));

    panel.silentToE = false;
    download();
    EXPECT_FALSE(problem->isVisible());
    EXPECT_EQ(text("Ctime"), QStringLiteral("14:46:00"));
}

// The columns fit their contents after every download that brings rows,
// also one that stopped at a line it could not read.
TEST_F(EventsPageTest, TheColumnsFitTheirContentsAfterADownload)
{
    panel.events.append(EventLines::line(EventLines::room4711(), "0C0B1A", "0E2DXY"));
    download();
    ASSERT_EQ(grid()->tableModel()->rowCount(), 3);
    QHeaderView *header = grid()->horizontalHeader();
    const int source = grid()->tableModel()->columnOfField("Source");
    const int client = grid()->tableModel()->columnOfField("Client");
    EXPECT_LE(header->sectionPosition(source) + header->sectionSize(source), grid()->viewport()->width());
    EXPECT_LT(header->sectionPosition(client) + 40, grid()->viewport()->width()); // in sight without scrolling
}

TEST_F(EventsPageTest, ATitleClickSortsAndTheEventNumberFollowsTheNewOrder)
{
    clickTitle("Client"); // nothing there yet: no harm
    download();
    grid()->setCurrentIndex(grid()->tableModel()->index(2, 0));

    clickTitle("Client");
    EXPECT_EQ(cell(0, "Client"), QStringLiteral("Amy").leftJustified(16));
    EXPECT_EQ(cell(0, "Event"), QStringLiteral("3"));
    EXPECT_EQ(cell(1, "Client"), QStringLiteral("Butt.3"));
    EXPECT_EQ(grid()->currentIndex().row(), 0);
    EXPECT_EQ(text("E_Numb"), QStringLiteral("1")); // its place, not its Event
    EXPECT_EQ(text("E_Room"), QStringLiteral("12"));

    grid()->setCurrentIndex(grid()->tableModel()->index(2, 0));
    EXPECT_EQ(text("E_Numb"), QStringLiteral("3"));
    EXPECT_EQ(text("E_Room"), QStringLiteral("4711"));

    // Date sorts by the order of arrival.
    clickTitle("Date");
    EXPECT_EQ(cell(0, "Event"), QStringLiteral("1"));
    EXPECT_EQ(cell(2, "Event"), QStringLiteral("3"));
    EXPECT_EQ(text("E_Numb"), QStringLiteral("1"));
    EXPECT_EQ(text("E_Room"), QStringLiteral("4711"));
}

TEST_F(EventsPageTest, SaveAsWritesTheEventFileInTheShownOrder)
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("Events.Evt"));
    int asked = 0;
    page.setFileChooser([&](QWidget *) {
        ++asked;
        return fileName;
    });
    page.saveAsEventFile(); // nothing downloaded: nothing to write
    EXPECT_EQ(asked, 0);

    download();
    clickTitle("Client");
    page.saveAsEventFile();
    EXPECT_EQ(asked, 1);
    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_GE(lines.size(), 6);
    EXPECT_EQ(lines[0], QByteArray("Corvalen time when saved was: 14:45:13  12/11/26\r"));
    EXPECT_EQ(lines[1], QByteArray("Current time when Loaded was: 14:46:00  12/11/2026\r"));
    EXPECT_EQ(lines[2], QByteArray("Event,RoomNumber,Date,Time,RlyNo,Source,Client\r"));
    EXPECT_TRUE(lines[3].startsWith("3,12,13/11/26,08:30:00,2,Remote,Amy")) << lines[3].constData();
    EXPECT_TRUE(lines[4].startsWith("2,Butt.3,")) << lines[4].constData();
    EXPECT_TRUE(h.prompt.messages.isEmpty());
}

TEST_F(EventsPageTest, SaveAsReportsAFileItCannotWriteAndACancelWritesNothing)
{
    QTemporaryDir dir;
    download();
    QString chosen;
    page.setFileChooser([&](QWidget *) { return chosen; });
    page.saveAsEventFile(); // cancelled
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_TRUE(h.prompt.messages.isEmpty());

    chosen = dir.filePath(QStringLiteral("no such folder/Events.Evt"));
    page.saveAsEventFile();
    ASSERT_EQ(h.prompt.messages.size(), 1);
    EXPECT_TRUE(h.prompt.messages[0].startsWith(QStringLiteral("Cannot create file "))) << h.prompt.messages[0].toStdString();
    EXPECT_FALSE(QFile::exists(chosen));
}

TEST_F(EventsPageTest, ExportWritesTheClockRowsThenTheTableForASpreadsheet)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); // ";" between values
    QTemporaryDir dir;
    QString chosen = dir.filePath(QStringLiteral("events.csv"));
    page.setExportChooser([&](QWidget *) { return chosen; });
    page.exportEventFile(); // nothing downloaded: nothing to write
    EXPECT_FALSE(QFile::exists(chosen));

    download();
    clickTitle("Client");
    page.exportEventFile();
    QLocale::setDefault(previous);
    QFile file(chosen);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_GE(lines.size(), 6);
    EXPECT_EQ(lines[0], QByteArray("\xEF\xBB\xBF" "Corvalen time when saved was:;14:45:13;12/11/26\r"));
    EXPECT_EQ(lines[1], QByteArray("Current time when Loaded was:;14:46:00;12/11/2026\r"));
    EXPECT_EQ(lines[2], QByteArray("\r"));
    EXPECT_EQ(lines[3], QByteArray("Event;RoomNumber;Date;Time;RlyNo;Source;Client\r"));
    EXPECT_TRUE(lines[4].startsWith("3;12;13/11/26;08:30:00;2;Remote;Amy")) << lines[4].constData();

    // A name ending in .xlsx asks for a workbook.
    chosen = dir.filePath(QStringLiteral("events.xlsx"));
    page.exportEventFile();
    QFile book(chosen);
    ASSERT_TRUE(book.open(QIODevice::ReadOnly));
    EXPECT_TRUE(book.readAll().startsWith("PK\x03\x04"));

    chosen = dir.filePath(QStringLiteral("no such folder/events.csv"));
    page.exportEventFile();
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("Cannot create file %1").arg(chosen)});
}

TEST(EventFileDialog, OffersTheEventFilterNameAndExtensionAndAsksBeforeReplacing)
{
    QFileDialog dialog;
    EventFileDialog::prepare(dialog);
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog.nameFilters(), (QStringList{"CorvalenEvents(*.Evt)", "All Files (*)"}));
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("Evt"));
    EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    ASSERT_FALSE(dialog.selectedFiles().isEmpty());
    EXPECT_TRUE(dialog.selectedFiles().constFirst().endsWith(QStringLiteral("/Events.Evt")))
        << dialog.selectedFiles().join(QLatin1Char('|')).toStdString();
}

TEST_F(EventsPageTest, TheButtonsFollowTheConnectionAndSetTimeSendsTheComputersClock)
{
    page.setOnline(false);
    EXPECT_FALSE(control<QPushButton>("dnLoad")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("Set_time")->isEnabled());
    page.setOnline(true);
    EXPECT_TRUE(control<QPushButton>("dnLoad")->isEnabled());
    ASSERT_TRUE(control<QPushButton>("Set_time")->isEnabled());

    page.setComputerClock(ComputerClock([] { return QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58)); }));
    control<QPushButton>("Set_time")->click();
    EXPECT_EQ(h.port.commands(), (QList<QByteArray>{"t585923311226"}));
    download();
    EXPECT_EQ(text("Stime"), QStringLiteral("23:59:58"));
    EXPECT_EQ(text("Sdate"), QStringLiteral("31/12/26"));
}

TEST_F(EventsPageTest, EveryControlCanBeFoundByAReader)
{
    EXPECT_TRUE(unnamedControls(page).isEmpty()) << unnamedControls(page).join(QStringLiteral(", ")).toStdString();
    EXPECT_EQ(listed(sameNamedControls(page)), "");
    EXPECT_EQ(listed(editsNotNamedByTheirLabel(page)), "");
    EXPECT_FALSE(grid()->focusPolicy() & Qt::TabFocus);
    EXPECT_EQ(grid()->editTriggers(), QAbstractItemView::NoEditTriggers);

    auto *dnLoad = control<QPushButton>("dnLoad");
    EXPECT_EQ(dnLoad->text(), QStringLiteral("Down Load"));
    EXPECT_EQ(dnLoad->toolTip(), QStringLiteral("Load Data"));
    EXPECT_EQ(dnLoad->statusTip(), QStringLiteral("Load Event Data From Corvalen"));
    EXPECT_EQ(accessibleText(dnLoad, QAccessible::Description), dnLoad->statusTip());
    EXPECT_EQ(control<QPushButton>("Set_time")->toolTip(), QStringLiteral("Set the Corvalen Time"));
    EXPECT_EQ(control<QWidget>("timerBox")->property("title").toString(), QStringLiteral(" Time "));

    const struct
    {
        const char *edit;
        const char *label;
        bool readOnly;
    } rows[] = {{"E_Numb", "Event #", true},     {"E_Room", "Room Number", true}, {"E_Client", "Client", true},
                {"E_relay", "Relay", false},     {"E_source", "Set by", false},   {"E_time", "Event time", false},
                {"E_date", "Date", false},       {"Stime", "Time:", true},        {"Sdate", "Date:", true}};
    const QList<QLabel *> labels = page.findChildren<QLabel *>();
    for (const auto &r : rows) {
        QLineEdit *edit = control(r.edit);
        EXPECT_EQ(edit->isReadOnly(), r.readOnly) << r.edit;
        const bool labelled = std::any_of(labels.begin(), labels.end(), [&](QLabel *l) {
            return l->buddy() == edit && l->text() == QLatin1String(r.label);
        });
        EXPECT_TRUE(labelled) << r.edit;
    }
    EXPECT_TRUE(control("Ctime")->isReadOnly());
    EXPECT_TRUE(control("Cdate")->isReadOnly());
}

TEST_F(EventsPageTest, FitsThePageAreaBeforeAndAfterADownload)
{
    EXPECT_LE(page.minimumSizeHint().width(), kPageArea.width());
    EXPECT_LE(page.minimumSizeHint().height(), kPageArea.height());
    saveScreenshot(page, QStringLiteral("events-page-empty"));
    panel.events.clear();
    for (int i = 0; i < 24; ++i) {
        const QByteArray room = QByteArray("0") + char('1' + i % 9) + "0" + char('0' + i % 10) + "FFFFFFFF";
        const char *names[] = {"Ann Other", "Bob Baker", "Cy Young", "Dora Lee"};
        panel.events << EventLines::line(i % 5 == 4 ? EventLines::inCall() : room, "0C0B1A",
                                         QByteArray::number(0x080000 + i * 0x0103, 16).rightJustified(6, '0').toUpper(),
                                         char('1' + i % 2), char('0' + i % 3), names[i % 4]);
    }
    download();
    grid()->setCurrentIndex(grid()->tableModel()->index(3, 0));
    EXPECT_LE(page.minimumSizeHint().width(), kPageArea.width());
    EXPECT_LE(page.minimumSizeHint().height(), kPageArea.height());
    EXPECT_LE(grid()->horizontalHeader()->length(), grid()->viewport()->width() + 1); // no sideways scrolling
    saveScreenshot(page, QStringLiteral("events-page"));
}

// Fitting the columns to a new download must not leave a blank strip at the
// grid's right: the last column takes what the others leave.
TEST_F(EventsPageTest, TheLastColumnFillsTheGridAfterEveryDownload)
{
    for (int n = 1; n <= 3; ++n) {
        download();
        QCoreApplication::processEvents();
        const QHeaderView *header = grid()->horizontalHeader();
        EXPECT_NEAR(header->length(), grid()->viewport()->width(), 1) << "download " << n;
    }
}
