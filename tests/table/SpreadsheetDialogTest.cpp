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

// Choosing the workbook filter asks for a workbook: a name typed without an
// ending gets ".xlsx".
TEST(SpreadsheetDialog, TheChosenFilterGivesANameWithoutEndingItsEnding)
{
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    SpreadsheetDialog::prepare(dialog, QStringLiteral("CorvalenPhList-spreadsheet.csv"));
    QComboBox *types = dialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    // The user moves through the list of types with the arrow keys.
    QTest::keyClick(types, Qt::Key_Down);
    ASSERT_EQ(types->currentText(), SpreadsheetDialog::kWorkbookFilter);
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("xlsx"));
    QTest::keyClick(types, Qt::Key_Up);
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("csv"));
}
