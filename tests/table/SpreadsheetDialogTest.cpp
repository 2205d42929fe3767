#include "table/widgets/SpreadsheetDialog.h"

#include <QComboBox>
#include <QTest>
#include <gtest/gtest.h>

TEST(SpreadsheetDialog, IsTitledLikeItsCommandAndAsksBeforeReplacing)
{
    QFileDialog dialog;
    SpreadsheetDialog::prepare(dialog, QStringLiteral("Events-spreadsheet.csv"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Export for spreadsheet"));
    EXPECT_EQ(dialog.nameFilters(), (QStringList{"Spreadsheet (*.csv)", "Workbook (*.xlsx)", "All Files (*)"}));
    EXPECT_EQ(dialog.selectedNameFilter(), QStringLiteral("Spreadsheet (*.csv)"));
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("csv"));
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    ASSERT_FALSE(dialog.selectedFiles().isEmpty());
    EXPECT_TRUE(dialog.selectedFiles().constFirst().endsWith(QStringLiteral("/Events-spreadsheet.csv")));
}

// Choosing the workbook filter asks for a workbook: the typed name takes its
// ending, and a name typed without one gets it.
TEST(SpreadsheetDialog, TheChosenFilterGivesTheNameItsEnding)
{
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    SpreadsheetDialog::prepare(dialog, QStringLiteral("CorvalenPhList-spreadsheet.csv"));
    QComboBox *types = dialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    // The user moves through the list of types with the arrow keys.
    const auto choose = [&](const QString &filter) {
        const int index = types->findText(filter);
        ASSERT_GE(index, 0);
        while (types->currentIndex() != index)
            QTest::keyClick(types, types->currentIndex() < index ? Qt::Key_Down : Qt::Key_Up);
    };

    choose(SpreadsheetDialog::kWorkbookFilter);
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("xlsx"));
    ASSERT_FALSE(dialog.selectedFiles().isEmpty());
    EXPECT_TRUE(dialog.selectedFiles().constFirst().endsWith(QStringLiteral("/CorvalenPhList-spreadsheet.xlsx")))
        << dialog.selectedFiles().constFirst().toStdString();

    // All files: the name is left as typed.
    choose(QStringLiteral("All Files (*)"));
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("xlsx"));
    EXPECT_TRUE(dialog.selectedFiles().constFirst().endsWith(QStringLiteral("/CorvalenPhList-spreadsheet.xlsx")))
        << dialog.selectedFiles().constFirst().toStdString();

    choose(SpreadsheetDialog::kCsvFilter);
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("csv"));
    EXPECT_TRUE(dialog.selectedFiles().constFirst().endsWith(QStringLiteral("/CorvalenPhList-spreadsheet.csv")))
        << dialog.selectedFiles().constFirst().toStdString();
}
