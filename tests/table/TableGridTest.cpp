#include "table/widgets/TableGrid.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {
struct GridFixture
{
    GridFixture()
    {
        table.redefine({{"Name", 16}, {"Room", 6}});
        table.open();
        for (const char *name : {"Cy", "Ann", "Dee", "Bob"})
            table.appendRecord({name, "1"});
        table.first();
        grid.resize(300, 200);
        grid.show();
    }
    int selectedRow() const
    {
        const QModelIndexList rows = grid.selectionModel()->selectedRows();
        return rows.size() == 1 ? rows.first().row() : -1;
    }
    void choose(int row) { grid.setCurrentIndex(grid.tableModel()->index(row, 0)); }

    Table table;
    TableGrid grid{table};
};
} // namespace

TEST(TableGrid, ARowChosenInTheGridBecomesTheCurrentEntryOnce)
{
    GridFixture f;
    EXPECT_EQ(f.selectedRow(), 0);
    QSignalSpy scrolls(&f.table, &Table::afterScroll);
    f.choose(2);
    EXPECT_EQ(f.table.currentRow(), 2);
    EXPECT_EQ(f.selectedRow(), 2);
    EXPECT_EQ(scrolls.count(), 1);
}

TEST(TableGrid, FollowsMovesSortsAndDeletesWithoutMovingTheCursorItself)
{
    GridFixture f;
    f.table.moveTo(3); // Bob
    EXPECT_EQ(f.selectedRow(), 3);

    f.table.sortOn("Name", Qt::CaseSensitive); // Ann, Bob, Cy, Dee
    f.table.locate("Name", "Cy");
    EXPECT_EQ(f.selectedRow(), 2);

    // The view moves its current row off a deleted one; that is not a move
    // of the user's, so only the delete's own after-scroll happens.
    QSignalSpy scrolls(&f.table, &Table::afterScroll);
    ASSERT_TRUE(f.table.remove());
    EXPECT_EQ(scrolls.count(), 1);
    EXPECT_EQ(f.table.currentRow(), 2); // Dee
    EXPECT_EQ(f.selectedRow(), 2);
    EXPECT_EQ(f.table.field("Name"), QByteArray("Dee"));

    // An entry being added has no row yet: nothing is selected.
    f.table.append();
    EXPECT_EQ(f.selectedRow(), -1);
    f.table.setField("Name", "Abe");
    f.table.post();
    EXPECT_EQ(f.table.currentRow(), 0);
    EXPECT_EQ(f.selectedRow(), 0);
}

TEST(TableGrid, StaysWhileTheControlsAreSuspendedAndCatchesUpAfter)
{
    GridFixture f;
    f.table.disableControls();
    f.table.appendRecord({"Eve", "2"});
    f.table.moveTo(4);
    EXPECT_EQ(f.selectedRow(), 0);
    f.choose(1); // a click meanwhile moves nothing
    EXPECT_EQ(f.table.currentRow(), 4);
    f.table.enableControls();
    EXPECT_EQ(f.grid.tableModel()->rowCount(), 5);
    EXPECT_EQ(f.selectedRow(), 4);
}

TEST(TableGrid, ARefusedChoiceGoesBackToTheCurrentEntry)
{
    GridFixture f;
    bool allowed = false;
    f.grid.setMoveAllowed([&] { return allowed; });
    f.choose(2);
    EXPECT_EQ(f.table.currentRow(), 0);
    EXPECT_EQ(f.selectedRow(), 0);
    allowed = true;
    f.choose(2);
    EXPECT_EQ(f.table.currentRow(), 2);
}

TEST(TableGrid, ATitleClickNamesTheField)
{
    GridFixture f;
    f.grid.tableModel()->setVisibleFields({"Room", "Name"});
    QSignalSpy clicked(&f.grid, &TableGrid::titleClicked);
    emit f.grid.horizontalHeader()->sectionClicked(1);
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).toByteArray(), QByteArray("Name"));
    EXPECT_EQ(f.grid.editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST(TableGrid, FittedColumnsKeepAStretchedLastColumnFillingTheGrid)
{
    GridFixture f;
    QHeaderView *header = f.grid.horizontalHeader();
    f.grid.fitColumns();
    EXPECT_LT(header->length(), f.grid.viewport()->width()); // a grid of its own choice

    header->setStretchLastSection(true);
    f.grid.fitColumns();
    EXPECT_EQ(header->length(), f.grid.viewport()->width());
    EXPECT_GE(header->sectionSize(0), header->sectionSizeHint(0)); // the others still fit their values
}
