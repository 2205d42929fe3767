#include "table/widgets/TableModel.h"

#include <QAbstractItemModelTester>
#include <QBrush>
#include <QSignalSpy>
#include <gtest/gtest.h>

TEST(TableModelTest, KeepsTheItemModelContractThroughEveryKindOfChange)
{
    Table t;
    t.redefine({{"Name", 8, Table::FieldType::Text}, {"Room", 6, Table::FieldType::Text}});
    t.open();
    TableModel model(t);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    for (int i = 0; i < 10; ++i)
        t.appendRecord({"n" + QByteArray::number(9 - i), QByteArray::number(i)});
    EXPECT_EQ(model.rowCount(), 10);
    t.sortOn("Name", Qt::CaseSensitive);
    t.moveTo(3);
    t.setField("Name", "zz");
    t.post();
    t.first();
    t.remove();
    t.disableControls();
    t.appendRecord({"x", "1"});
    EXPECT_EQ(model.rowCount(), 9); // frozen while suspended
    t.enableControls();
    EXPECT_EQ(model.rowCount(), 10);
    t.redefine({{"Name", 8, Table::FieldType::Text}});
    t.open();
    EXPECT_EQ(model.columnCount(), 1);
}

TEST(TableModelTest, ShowsChosenColumnsWithFieldNamesAsTitlesAndDimsSome)
{
    Table t;
    t.redefine({{"Name", 8, Table::FieldType::Text}, {"Code1", 4, Table::FieldType::Text}, {"Addr", 4, Table::FieldType::Text}});
    t.open();
    t.appendRecord({QByteArray("Caf\xE9"), "12", "1000"});
    TableModel model(t);
    model.setVisibleFields({"Name", "Code1"});
    ASSERT_EQ(model.columnCount(), 2);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Code1"));
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), QString::fromLatin1("Caf\xE9"));
    model.setDimmedFields({"Code1"});
    EXPECT_EQ(model.data(model.index(0, 1), Qt::ForegroundRole).value<QBrush>().color(), QColor(128, 128, 0));
    EXPECT_FALSE(model.data(model.index(0, 0), Qt::ForegroundRole).isValid());
}

// A pause of the controls costs the view a full reset (and a full repaint)
// only when something it shows changed: values of hidden fields, or a walk
// of the cursor, do not; a shown value, a row more or a new order do.
TEST(TableModelTest, APauseEndsInAResetOnlyWhenWhatIsShownChanged)
{
    Table t;
    t.redefine({{"Name", 8, Table::FieldType::Text}, {"Addr", 4, Table::FieldType::Text}});
    t.open();
    for (const char *name : {"b", "a", "c"})
        t.appendRecord({name, ""});
    TableModel model(t);
    model.setVisibleFields({"Name"});
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    const auto pause = [&](const std::function<void()> &change) {
        resets.clear();
        Table::ControlsPause controls(t);
        change();
    };

    pause([&] {
        for (t.first(); !t.eof(); t.next()) {
            t.setField("Addr", "1000");
            t.post();
        }
    });
    EXPECT_EQ(resets.size(), 0);

    pause([&] {
        t.moveTo(1);
        t.setField("Name", "z");
        t.post();
    });
    EXPECT_EQ(resets.size(), 1);
    EXPECT_EQ(model.data(model.index(1, 0)).toString(), QStringLiteral("z"));

    pause([&] { t.sortOn("Name", Qt::CaseSensitive); });
    EXPECT_EQ(resets.size(), 1);

    pause([&] { t.appendRecord({"d", ""}); });
    EXPECT_EQ(resets.size(), 1);
    EXPECT_EQ(model.rowCount(), 4);
}
