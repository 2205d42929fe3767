#include "table/widgets/GridCellDelegate.h"
#include "table/widgets/TableModel.h"

#include <QStyledItemDelegate>
#include <QTableView>
#include <gtest/gtest.h>

namespace {
// The same table in two grids of the same size: one drawn by the style's
// own delegate, one by the delegate that keeps laid-out text.
struct TwoGrids
{
    Table table;
    std::unique_ptr<TableModel> model;
    QTableView byStyle;
    QTableView kept;
    GridCellDelegate *delegate = nullptr;

    TwoGrids()
    {
        table.redefine({{"Name", 40, Table::FieldType::Text}, {"Room", 6, Table::FieldType::Text},
                        {"Code1", 4, Table::FieldType::Text}});
        table.open();
        table.appendRecord({"Smith J", "12", "1234"});
        table.appendRecord({QByteArray("Caf\xE9 \xC6gir \xFF\x01"), "7", ""});
        table.appendRecord({"A name far too long for its narrow column, cut short by the style", "123456", "9"});
        table.appendRecord({"Two\nlines", "1", "42"});
        table.appendRecord({"AV To Wa", "0", "0000"});
        model = std::make_unique<TableModel>(table);
        model->setDimmedFields({"Code1"});
        delegate = new GridCellDelegate(&kept);
        for (QTableView *view : {&byStyle, &kept}) {
            view->setModel(model.get());
            view->setSelectionBehavior(QAbstractItemView::SelectRows);
            view->setWordWrap(false);
            view->setColumnWidth(0, 120);
            view->resize(420, 200);
        }
        byStyle.setItemDelegate(new QStyledItemDelegate(&byStyle));
        kept.setItemDelegate(delegate);
    }
    void selectRow(int row)
    {
        byStyle.selectRow(row);
        kept.selectRow(row);
    }
    void setEnabled(bool enabled)
    {
        byStyle.setEnabled(enabled);
        kept.setEnabled(enabled);
    }
    bool same() { return byStyle.grab().toImage() == kept.grab().toImage(); }
};
} // namespace

// Whatever the cell (plain, Latin-1, elided, two lines, kerned pairs, dimmed,
// empty), selected or not, enabled or not, and painted again from what it
// kept: the grid looks exactly as the style draws it.
TEST(GridCellDelegateTest, TheGridLooksExactlyAsTheStyleDrawsIt)
{
    TwoGrids grids;
    EXPECT_TRUE(grids.same());
    ASSERT_TRUE(grids.delegate->matchesStyle()) << "the probe refused the style: nothing would be kept";
    EXPECT_GT(grids.delegate->cachedTexts(), 8);
    grids.selectRow(1);
    EXPECT_TRUE(grids.same());
    grids.setEnabled(false);
    EXPECT_TRUE(grids.same());
    grids.setEnabled(true);
    grids.selectRow(4);
    EXPECT_TRUE(grids.same()); // drawn from the kept layouts
    grids.table.moveTo(0);
    grids.table.setField("Name", "Smith Jo");
    grids.table.post();
    EXPECT_TRUE(grids.same()); // a changed value is laid out anew
}
