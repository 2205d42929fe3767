#include "PanelLines.h"
#include "Directory.h"
#include "StorePanel.h"
#include "rfid/widgets/RfidPage.h"
#include "support/AccessibleNames.h"
#include "support/AppHarness.h"
#include "support/Screenshot.h"
#include "table/widgets/TableGrid.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
constexpr QSize kPageArea(760, 430);

// The reader's line as the virtual panel sends it.
QByteArray tagLine(const QByteArray &code)
{
    return PanelLines::tagLine(code) + "\r\n";
}
} // namespace

class RfidPageTest : public ::testing::Test
{
protected:
    RfidPageTest()
    {
        h.logOn();
        Directory::add(h.directory, "Ann", "4711", "", "1000");
        Directory::add(h.directory, "Bob", "12", "A000000001", "1020");
        Directory::add(h.directory, "Cy", "30", "", "1040");
        h.directory.PhoneTable.first();
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
    TableGrid *grid() { return control<TableGrid>("DBGrid3"); }
    QString cell(int row, const char *field)
    {
        TableModel *model = grid()->tableModel();
        return model->data(model->index(row, model->columnOfField(field))).toString();
    }
    void chooseRow(int row) { grid()->setCurrentIndex(grid()->tableModel()->index(row, 0)); }
    // One second of Timer3 on virtual time.
    void tick()
    {
        h.waiter.pump(1000 * 1000 / 864);
        page.Timer3Timer();
    }

    AppHarness h;
    StorePanel panel{h.port};
    RfidPage page{h.ctx};
};

TEST_F(RfidPageTest, ShowsTheDirectoryAndFollowsItsCurrentEntry)
{
    EXPECT_EQ(grid()->tableModel()->visibleFields(), (QList<QByteArray>{"Name", "RoomNumber", "RFID"}));
    EXPECT_EQ(grid()->tableModel()->rowCount(), 3);
    EXPECT_EQ(grid()->currentIndex().row(), 0);
    EXPECT_EQ(text("rfName"), QStringLiteral("Ann"));

    chooseRow(1);
    EXPECT_EQ(h.directory.PhoneTable.position(), 2);
    EXPECT_EQ(text("rfName"), QStringLiteral("Bob"));
    EXPECT_EQ(text("rfRoom"), QStringLiteral("12"));
    EXPECT_EQ(text("rfID"), QStringLiteral("A000000001"));

    // A move made elsewhere (the phone page's grid on the same table) is
    // shown here and not moved back: one move, one after-scroll.
    TableGrid other(h.directory.PhoneTable);
    QSignalSpy scrolls(&h.directory.PhoneTable, &Table::afterScroll);
    other.setCurrentIndex(other.tableModel()->index(2, 0));
    EXPECT_EQ(scrolls.count(), 1);
    EXPECT_EQ(grid()->currentIndex().row(), 2);
    EXPECT_EQ(text("rfName"), QStringLiteral("Cy"));

    // While the fields are not synchronised, a move leaves them alone.
    h.directory.ScrollSyncOn = false;
    h.directory.PhoneTable.first();
    EXPECT_EQ(grid()->currentIndex().row(), 0);
    EXPECT_EQ(text("rfName"), QStringLiteral("Cy"));
    h.directory.ScrollSyncOn = true;
}

TEST_F(RfidPageTest, ATagReadThroughGetRfidFillsTheCodeAndNamesItsOwner)
{
    auto *timer = page.findChild<QTimer *>(QStringLiteral("Timer3"));
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 1000);
    EXPECT_FALSE(timer->isActive());

    control<QPushButton>("Get_ID")->click();
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(control<QProgressBar>("ProgressBar1")->value(), 20);
    EXPECT_EQ(control<QLabel>("iderror")->text(), QStringLiteral("Ready"));
    EXPECT_EQ(text("rfID"), QString());

    tick();
    tick();
    EXPECT_EQ(control<QProgressBar>("ProgressBar1")->value(), 18);
    h.port.inject(tagLine("A000000001"), 0);
    tick();
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(control<QProgressBar>("ProgressBar1")->value(), 0);
    EXPECT_EQ(text("rfID"), QStringLiteral("A000000001"));
    EXPECT_EQ(text("rfName"), QStringLiteral("Ann")); // the grid and the entry stay where they were
    EXPECT_EQ(grid()->currentIndex().row(), 0);
    auto *note = control<QLabel>("Lc_exist");
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(note->text(), QStringLiteral("Note, This record matches room 12"));

    // Opening the page by its button clears the status.
    page.clearStatus();
    EXPECT_FALSE(note->isVisible());
    EXPECT_EQ(control<QLabel>("iderror")->text(), QString());

    // A bad line.
    control<QPushButton>("Get_ID")->click();
    h.port.inject("A0000000010F\r\n", 0);
    tick();
    EXPECT_EQ(control<QLabel>("iderror")->text(), QStringLiteral("Read Error, Try Again"));
    EXPECT_EQ(text("rfID"), QString());
    EXPECT_FALSE(timer->isActive());
}

TEST_F(RfidPageTest, UpDateStoresTheTypedCodeInTheCurrentEntryAndTheGridShowsIt)
{
    QLineEdit *rfID = control("rfID");
    EXPECT_EQ(rfID->maxLength(), 10);
    rfID->setFocus();
    QTest::keyClicks(rfID, "0123456789AB");
    EXPECT_EQ(rfID->text(), QStringLiteral("0123456789"));
    control<QPushButton>("Button1")->click();
    EXPECT_EQ(Directory::value(h.directory, "Ann", "RFID"), QByteArray("0123456789"));
    EXPECT_EQ(cell(0, "RFID"), QStringLiteral("0123456789"));
    EXPECT_TRUE(h.port.written().isEmpty()); // only the table changes

    // An emptied code erases the entry's tag.
    chooseRow(1);
    rfID->selectAll();
    QTest::keyClick(rfID, Qt::Key_Backspace);
    control<QPushButton>("Button1")->click();
    EXPECT_EQ(Directory::value(h.directory, "Bob", "RFID"), QByteArray(""));
    EXPECT_EQ(cell(1, "RFID"), QString());
}

TEST_F(RfidPageTest, DelRemovesTheWholeEntryFromTheGrid)
{
    chooseRow(1);
    control<QPushButton>("Button2")->click();
    EXPECT_EQ(h.directory.PhoneTable.find("Name", "Bob"), -1);
    ASSERT_EQ(grid()->tableModel()->rowCount(), 2);
    EXPECT_EQ(cell(0, "Name"), QStringLiteral("Ann"));
    EXPECT_EQ(cell(1, "Name"), QStringLiteral("Cy"));
    // The entry that became current is shown, in the grid and the fields.
    EXPECT_EQ(grid()->currentIndex().row(), h.directory.PhoneTable.currentRow());
    EXPECT_EQ(text("rfName"), QStringLiteral("Cy"));
    EXPECT_TRUE(h.prompt.questions.isEmpty());
}

TEST_F(RfidPageTest, DownLoadIntoAnEmptyDirectorySetsTheGridUpAgain)
{
    h.directory.DefinePhoneFields();
    h.directory.PhoneTable.open();
    panel.records[1408] = "4711??000000000:" + QByteArray(48, '?');
    control<QPushButton>("download_id")->click();
    ASSERT_EQ(grid()->tableModel()->visibleFields(), (QList<QByteArray>{"Name", "RoomNumber", "RFID"}));
    ASSERT_EQ(grid()->tableModel()->rowCount(), 1);
    EXPECT_EQ(cell(0, "RoomNumber"), QStringLiteral("4711"));
    EXPECT_EQ(cell(0, "RFID"), QStringLiteral("000000000A"));
    EXPECT_EQ(text("rfRoom"), QStringLiteral("4711"));
}

// The download that finds the directory empty asks for the set-up too, so
// the phone page's grid is set up as well as this one.
TEST_F(RfidPageTest, DownLoadIntoAnEmptyDirectoryAsksEveryGridToSetItselfUp)
{
    h.directory.DefinePhoneFields();
    h.directory.PhoneTable.open();
    QSignalSpy setups(&h.directory, &PhoneDirectory::phoneGridSetupRequested);
    panel.records[1408] = "4711??000000000:" + QByteArray(48, '?');
    control<QPushButton>("download_id")->click();
    EXPECT_EQ(setups.count(), 1);
}

TEST_F(RfidPageTest, ThePanelButtonsWorkOnlyWhileOnline)
{
    const char *online[] = {"Get_ID", "download_id", "writeall_id"};
    page.setOnline(false);
    for (const char *name : online)
        EXPECT_FALSE(control<QPushButton>(name)->isEnabled()) << name;
    EXPECT_TRUE(control<QPushButton>("Button1")->isEnabled());
    EXPECT_TRUE(control<QPushButton>("Button2")->isEnabled());
    page.setOnline(true);
    for (const char *name : online)
        EXPECT_TRUE(control<QPushButton>(name)->isEnabled()) << name;
}

TEST_F(RfidPageTest, EveryControlCanBeFoundByAReader)
{
    EXPECT_TRUE(unnamedControls(page).isEmpty()) << unnamedControls(page).join(QStringLiteral(", ")).toStdString();
    EXPECT_EQ(listed(sameNamedControls(page)), "");
    EXPECT_EQ(listed(editsNotNamedByTheirLabel(page)), "");
    EXPECT_EQ(listed(editsWithoutLabel(page)), "");
    EXPECT_EQ(grid()->editTriggers(), QAbstractItemView::NoEditTriggers);
    const struct
    {
        const char *name;
        const char *caption;
        const char *hint;
    } buttons[] = {
        {"Button1", "Up Date", "save this code to the database"},
        {"Button2", "Del", nullptr},
        {"Get_ID", "Get_RFID", "Read in RFID from Corvalen"},
        {"download_id", "DownLoad", "Get data from Corvalen"},
        {"writeall_id", "Write All", "Erase all RFID's in Corvalen and replace it with this data"},
    };
    for (const auto &b : buttons) {
        auto *button = control<QPushButton>(b.name);
        EXPECT_EQ(button->text(), QLatin1String(b.caption));
        if (b.hint) {
            EXPECT_EQ(button->toolTip(), QLatin1String(b.hint));
            EXPECT_EQ(accessibleText(button, QAccessible::Description), button->toolTip()) << b.name;
        }
    }
    const struct
    {
        const char *edit;
        const char *label;
        bool readOnly;
    } edits[] = {{"rfName", "Name", true}, {"rfRoom", "Room", true}, {"rfID", "RF-ID code", false}};
    const QList<QLabel *> labels = page.findChildren<QLabel *>();
    for (const auto &e : edits) {
        QLineEdit *edit = control(e.edit);
        EXPECT_EQ(edit->isReadOnly(), e.readOnly) << e.edit;
        EXPECT_TRUE(std::any_of(labels.begin(), labels.end(),
                                [&](QLabel *l) { return l->buddy() == edit && l->text() == QLatin1String(e.label); }))
            << e.edit;
    }
    for (const char *green : {"Get data from Corvalen", "Replace data in Corvalen"})
        EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [&](QLabel *l) { return l->text() == QLatin1String(green); }))
            << green;
    // The status labels are read out by what they show.
    for (const char *name : {"iderror", "Lc_exist"}) {
        QLabel *label = control<QLabel>(name);
        label->setText(QStringLiteral("Read Error, Try Again"));
        EXPECT_EQ(accessibleText(label, QAccessible::Name), label->text()) << name;
    }
    EXPECT_EQ(control<QProgressBar>("ProgressBar1")->maximum(), 20);
}

TEST_F(RfidPageTest, FitsThePageArea)
{
    const char *names[] = {"Ann Other", "Bob Baker", "Cy Young", "Dora Lee-Smithson", "Ed Miller", "Flo Rider"};
    for (int i = 0; i < 24; ++i)
        Directory::add(h.directory, names[i % 6], QByteArray::number(100 + i * 7), i % 3 ? Directory::code(i) : "",
                       QByteArray::number(0x1060 + i * 0x20, 16).toUpper());
    chooseRow(4);
    control<QPushButton>("Get_ID")->click();
    for (int i = 0; i < 6; ++i)
        tick();
    EXPECT_LE(page.minimumSizeHint().width(), kPageArea.width());
    EXPECT_LE(page.minimumSizeHint().height(), kPageArea.height());
    saveScreenshot(page, QStringLiteral("rfid-page-reading"));

    h.port.inject(tagLine("A000000001"), 0);
    tick();
    EXPECT_LE(page.minimumSizeHint().height(), kPageArea.height());
    saveScreenshot(page, QStringLiteral("rfid-page-owner"));
}
