// The phone page's grid and file commands: the grid and the table's cursor
// kept together both ways, title sorting, dimming, the locked grid during
// an exchange, and New, Open, Save and Save As through the page with an
// injected file chooser.
#include "PhonePageFixture.h"
#include "directory/widgets/PhoneFileDialog.h"
#include "directory/widgets/PhoneGridView.h"
#include "support/AccessibleNames.h"
#include "table/widgets/TableModel.h"

#include <QBrush>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>

namespace {

struct PageGridFixture : PhonePageFixture
{
    PhoneGridView *grid = child<PhoneGridView>("DBGrid1");

    void fill()
    {
        add("Chen Wei", "201", "1000", "0862");
        add("adams helen", "101", "1020", "0211");
        add("Baker Tom", "102", "1040", "0217");
        add("Dimitrov Anna", "202", "1060", "0216");
        table.first();
    }
    void clickRow(int row)
    {
        const QRect cell = grid->visualRect(grid->model()->index(row, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }
    void clickTitle(int column)
    {
        QHeaderView *header = grid->horizontalHeader();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }
    int gridRow() const { return grid->currentIndex().isValid() ? grid->currentIndex().row() : -1; }
    QList<QByteArray> names() const
    {
        QList<QByteArray> out;
        for (int r = 0; r < table.count(); ++r)
            out << table.value(r, PhoneFields::Name);
        return out;
    }
};

} // namespace

TEST_F(PageGridFixture, ShowsFiveTitledColumnsReadOnlyAndIsAsWideAsThem)
{
    fill();
    const TableModel &model = grid->tableModel();
    ASSERT_EQ(model.columnCount(), 5);
    QStringList titles;
    int columns = 0;
    for (int c = 0; c < 5; ++c) {
        titles << model.headerData(c, Qt::Horizontal).toString();
        columns += grid->columnWidth(c);
    }
    EXPECT_EQ(titles, (QStringList{"Name", "RoomNumber", "PHnumber", "Code1", "Code2"}));
    EXPECT_EQ(grid->width(), grid->verticalHeader()->width() + columns + 2 * grid->frameWidth()
                                 + grid->verticalScrollBar()->sizeHint().width());
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(grid->toolTip(), QStringLiteral("Phone List"));
    EXPECT_FALSE(accessibleText(grid, QAccessible::Name).isEmpty());
    // The page fits the main window's page area.
    EXPECT_LE(page.minimumSizeHint().width(), 780);
    EXPECT_LE(page.minimumSizeHint().height(), 440);
}

TEST_F(PageGridFixture, SetupPhoneGridPausesTenTicksFirst)
{
    h.waiter.clearLog();
    h.directory.SetupPhoneGrid();
    EXPECT_EQ(h.waiter.waits(), QList<qint32>{10});
    EXPECT_EQ(grid->tableModel().columnCount(), 5);
}

TEST_F(PageGridFixture, ARowChosenInTheGridMovesTheTableOnceAndAMoveOfTheTableSelectsItsRow)
{
    fill();
    EXPECT_EQ(gridRow(), 0);
    QSignalSpy scrolls(&table, &Table::afterScroll);
    clickRow(2);
    EXPECT_EQ(table.position(), 3);
    EXPECT_EQ(scrolls.count(), 1); // no echo back from the grid
    EXPECT_EQ(child<PhoneEdit>("Namef")->bytes(), QByteArray("Baker Tom"));
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(table.position(), 4);
    EXPECT_EQ(scrolls.count(), 2);

    table.moveTo(1);
    EXPECT_EQ(gridRow(), 1);
    EXPECT_TRUE(grid->selectionModel()->isRowSelected(1, {}));
    EXPECT_EQ(scrolls.count(), 3);

    // A new entry has no row; the grid then selects nothing, and a click
    // leaves the new entry for the row clicked.
    table.append();
    EXPECT_FALSE(grid->selectionModel()->hasSelection());
    clickRow(0);
    EXPECT_EQ(table.position(), 1);
    EXPECT_EQ(table.count(), 4);
    EXPECT_EQ(gridRow(), 0);
}

TEST_F(PageGridFixture, TheGridFollowsEntriesStoredAndRemovedElsewhere)
{
    fill();
    table.last();
    table.setField(PhoneFields::Name, "Zeta");
    table.post();
    EXPECT_EQ(gridRow(), 3);
    table.appendRecord({"Evans Owen", "203", "", "", "", "", "", "1080"});
    EXPECT_EQ(gridRow(), 4);
    EXPECT_EQ(grid->model()->rowCount(), 5);
    h.directory.DeleteConfirmed = true;
    table.remove();
    EXPECT_EQ(gridRow(), 3);
    EXPECT_EQ(grid->model()->rowCount(), 4);
}

// While the table's controls are suspended the navigator's buttons keep
// their state, and come back right for where the cursor ended.
TEST_F(PageGridFixture, TheNavigatorRestsWhileTheControlsAreSuspended)
{
    fill();
    auto *next = child<QToolButton>("NavNext");
    auto *prior = child<QToolButton>("NavPrior");
    ASSERT_TRUE(next && prior);
    EXPECT_TRUE(next->isEnabled());
    EXPECT_FALSE(prior->isEnabled());
    {
        Table::ControlsPause pause(table);
        table.last();
        EXPECT_TRUE(next->isEnabled());
        EXPECT_FALSE(prior->isEnabled());
    }
    EXPECT_FALSE(next->isEnabled());
    EXPECT_TRUE(prior->isEnabled());
}

// A pause that changes nothing the grid shows (slots given out, the table
// walked) still leaves the grid on the entry the cursor ended on.
TEST_F(PageGridFixture, AfterAPauseThatChangedNothingShownTheGridFollowsTheCursor)
{
    fill();
    clickRow(0);
    {
        Table::ControlsPause pause(table);
        for (table.first(); !table.eof(); table.next()) {
            table.setField("Addr", "2000");
            table.post();
        }
        table.moveTo(2);
    }
    EXPECT_EQ(gridRow(), 2);
}

TEST_F(PageGridFixture, ATitleClickSortsOnThatColumnIgnoringCase)
{
    fill();
    clickRow(3);
    clickTitle(0);
    EXPECT_EQ(names(), (QList<QByteArray>{"adams helen", "Baker Tom", "Chen Wei", "Dimitrov Anna"}));
    EXPECT_EQ(table.position(), 1);
    EXPECT_EQ(gridRow(), 0);
    EXPECT_EQ(child<PhoneEdit>("Namef")->bytes(), QByteArray("adams helen"));
    clickTitle(2); // PHnumber
    EXPECT_EQ(names(), (QList<QByteArray>{"adams helen", "Dimitrov Anna", "Baker Tom", "Chen Wei"}));

    // The hidden "Sort on addr" puts them back in slot order.
    child<QPushButton>("SortbyAddr")->click();
    EXPECT_EQ(names(), (QList<QByteArray>{"Chen Wei", "adams helen", "Baker Tom", "Dimitrov Anna"}));
    EXPECT_FALSE(child<QPushButton>("SortbyAddr")->isVisible());
}

TEST_F(PageGridFixture, TheGridsOwnDeleteKeysDeleteNothing)
{
    fill();
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Delete);
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(table.count(), 4);
    EXPECT_TRUE(h.prompt.questions.isEmpty());
    EXPECT_TRUE(h.prompt.messages.isEmpty());
}

TEST_F(PageGridFixture, CodeColumnsAreDimmedWhileGlobalCodesAreInUse)
{
    fill();
    const TableModel &model = grid->tableModel();
    const QModelIndex code1 = model.index(0, model.columnOfField(PhoneFields::Code1));
    const QModelIndex name = model.index(0, 0);
    h.directory.setCodeColumnsDimmed(true);
    EXPECT_EQ(model.data(code1, Qt::ForegroundRole).value<QBrush>().color(), QColor(128, 128, 0));
    EXPECT_TRUE(model.headerData(code1.column(), Qt::Horizontal, Qt::ForegroundRole).isValid());
    EXPECT_FALSE(model.data(name, Qt::ForegroundRole).isValid());
    h.directory.setCodeColumnsDimmed(false);
    EXPECT_FALSE(model.data(code1, Qt::ForegroundRole).isValid());
}

TEST_F(PageGridFixture, WhileAnExchangeWaitsNothingOnThePageMovesOrSortsTheTable)
{
    fill();
    auto *next = child<QToolButton>("NavNext");
    {
        ExchangeGuard::Scope exchange(h.guard);
        clickRow(2);
        clickTitle(0);
        QTest::keyClick(grid, Qt::Key_Down);
        QTest::mouseClick(next, Qt::LeftButton);
        EXPECT_EQ(table.position(), 1);
        EXPECT_EQ(names().first(), QByteArray("Chen Wei"));
    }
    clickRow(2);
    EXPECT_EQ(table.position(), 3);
    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_EQ(table.position(), 4);
}

// ---- File commands ----------------------------------------------------------

namespace {

const QByteArray kHeader = "Name,RoomNumber,PHnumber,Code1,Code2,spare,RFID,Addr\r\n";

struct PageFileFixture : PageGridFixture
{
    QTemporaryDir dir;
    QString previous = QDir::currentPath();
    QList<QFileDialog::AcceptMode> asked;
    QString answer;

    PageFileFixture()
    {
        QDir::setCurrent(dir.path());
        page.setFileChooser([this](QFileDialog::AcceptMode mode) {
            asked << mode;
            return answer;
        });
    }
    ~PageFileFixture() override { QDir::setCurrent(previous); }

    QString path(const char *name) const { return dir.filePath(QLatin1String(name)); }
    static QByteArray read(const QString &name)
    {
        QFile f(name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    static void write(const QString &name, const QByteArray &bytes)
    {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QLineEdit *fileName() const { return child<QLineEdit>("DBFiles"); }
};

} // namespace

TEST_F(PageFileFixture, NewThenSaveWritesAHeaderOnlyListUnderTheDefaultName)
{
    fill();
    page.newPhoneList();
    const QString expected = QDir::currentPath() + QStringLiteral("/CorvalenPhList.csv");
    EXPECT_EQ(fileName()->text(), expected);
    EXPECT_EQ(table.count(), 0);
    EXPECT_EQ(child<QLabel>("totrec")->text(), QStringLiteral("0"));
    page.savePhoneList();
    EXPECT_EQ(read(expected), kHeader);
    EXPECT_TRUE(asked.isEmpty()); // Save asks for nothing
}

TEST_F(PageFileFixture, OpenAndSaveAsGoThroughTheChooserAndCancelChangesNothing)
{
    const QByteArray list = kHeader + "Adams Helen,101,0211*#p,1101,,,,1000\r\nBaker Tom,102,,,,,,1020\r\n";
    write(path("in.csv"), list);
    answer = path("in.csv");
    page.openPhoneList();
    EXPECT_EQ(asked, QList<QFileDialog::AcceptMode>{QFileDialog::AcceptOpen});
    ASSERT_EQ(table.count(), 2);
    EXPECT_EQ(fileName()->text(), path("in.csv"));
    EXPECT_EQ(child<PhoneEdit>("Namef")->bytes(), QByteArray("Adams Helen"));
    EXPECT_EQ(child<PhoneEdit>("PHnumber")->bytes(), QByteArray("0211*#p"));
    EXPECT_EQ(gridRow(), 0);

    answer.clear();
    page.openPhoneList();
    page.saveAsPhoneList();
    EXPECT_EQ(table.count(), 2);
    EXPECT_EQ(fileName()->text(), path("in.csv"));

    answer = path("out.csv");
    page.saveAsPhoneList();
    EXPECT_EQ(asked.last(), QFileDialog::AcceptSave);
    EXPECT_EQ(read(path("out.csv")), list);
    EXPECT_EQ(fileName()->text(), path("out.csv"));

    // A name typed into the file name field is where Save writes.
    fileName()->setFocus();
    fileName()->selectAll();
    QTest::keyClicks(fileName(), path("typed.csv"));
    page.savePhoneList();
    EXPECT_EQ(read(path("typed.csv")), list);
    EXPECT_TRUE(h.prompt.messages.isEmpty());
}

TEST_F(PageFileFixture, AFileThatCannotBeOpenedIsReportedAndLeavesTheListAsItWas)
{
    fill();
    const QString before = fileName()->text();
    answer = path("missing.csv");
    page.openPhoneList();
    ASSERT_EQ(h.prompt.messages.size(), 1);
    EXPECT_TRUE(h.prompt.messages.first().startsWith(QStringLiteral("Cannot open file ")))
        << h.prompt.messages.first().toStdString();
    EXPECT_EQ(table.count(), 4);
    EXPECT_EQ(child<PhoneEdit>("Namef")->bytes(), QByteArray("Chen Wei"));
    EXPECT_EQ(fileName()->text(), before);
}

TEST_F(PageFileFixture, NoDialogOpensWhileAnExchangeWaits)
{
    ExchangeGuard::Scope exchange(h.guard);
    answer = path("x.csv");
    page.openPhoneList();
    page.saveAsPhoneList();
    EXPECT_TRUE(asked.isEmpty());
}

TEST(PhoneFileDialogTest, TheDialogsProposeTheListWithItsFiltersAndAskBeforeOverwriting)
{
    QFileDialog save;
    PhoneFileDialog::prepare(save, QFileDialog::AcceptSave);
    EXPECT_EQ(save.nameFilters(), (QStringList{"Corvalen (*.csv)", "All Files (*)"}));
    EXPECT_EQ(save.defaultSuffix(), QStringLiteral("csv"));
    EXPECT_FALSE(save.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(save.acceptMode(), QFileDialog::AcceptSave);
    ASSERT_FALSE(save.selectedFiles().isEmpty());
    EXPECT_TRUE(save.selectedFiles().first().endsWith(QStringLiteral("CorvalenPhList.csv")));

    QFileDialog open;
    PhoneFileDialog::prepare(open, QFileDialog::AcceptOpen);
    EXPECT_EQ(open.fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(open.nameFilters(), save.nameFilters());
}
