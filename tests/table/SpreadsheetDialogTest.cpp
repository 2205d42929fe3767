#include "table/widgets/SpreadsheetDialog.h"

#include <gtest/gtest.h>

TEST(SpreadsheetDialog, IsTitledLikeItsCommandAndAsksBeforeReplacing)
{
    QFileDialog dialog;
    SpreadsheetDialog::prepare(dialog, QStringLiteral("Events-spreadsheet.csv"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Export for spreadsheet"));
    EXPECT_EQ(dialog.nameFilters(), (QStringList{"Spreadsheet (*.csv)", "All Files (*)"}));
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("csv"));
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    ASSERT_FALSE(dialog.selectedFiles().isEmpty());
    EXPECT_TRUE(dialog.selectedFiles().constFirst().endsWith(QStringLiteral("/Events-spreadsheet.csv")));
}
