// The export's save dialog as a user meets it: the dialog is run for real
// and answered by a script, as a user would answer it.
#include "table/widgets/SpreadsheetDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Runs the export's dialog with a folder of its own at hand. Whenever a
// modal window is up, the script answers it: onDialog gets the file dialog,
// onQuestion the message box it asks with, and returns the button to press.
struct ExportDialog
{
    QTemporaryDir dir;
    std::function<void(QFileDialog &)> onDialog;
    std::function<QMessageBox::StandardButton(QMessageBox &)> onQuestion;
    QStringList questions;


    QString run()
    {
        QTimer script;
        QFileDialog *answered = nullptr; // each dialog is answered once
        QObject::connect(&script, &QTimer::timeout, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                questions << box->text();
                box->button(onQuestion(*box))->click();
            } else if (auto *dialog = qobject_cast<QFileDialog *>(modal); dialog && dialog != answered) {
                answered = dialog;
                // Not from inside this timer: a question the answer brings
                // up runs a loop of its own, in which this timer must fire.
                QTimer::singleShot(0, dialog, [this, dialog] { onDialog(*dialog); });
            }
        });
        script.start(10);
        return SpreadsheetDialog::choose(nullptr, QStringLiteral("Events-spreadsheet.csv"));
    }
    QString path(const char *name) const { return QDir(dir.path()).filePath(QLatin1String(name)); }
};

// Presses the dialog's Save or Cancel button.
void press(QFileDialog &dialog, QDialogButtonBox::StandardButton which)
{
    auto *buttons = dialog.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    ASSERT_NE(buttons, nullptr);
    ASSERT_NE(buttons->button(which), nullptr);
    buttons->button(which)->click();
}

void type(QFileDialog &dialog, const QString &name)
{
    auto *field = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(field, nullptr);
    field->setText(name);
}

} // namespace

TEST(SpreadsheetDialog, ANameTypedWithoutSuffixIsSavedAsCsvInTheFolderShown)
{
    ExportDialog run;
    QString title;
    run.onDialog = [&](QFileDialog &dialog) {
        title = dialog.windowTitle();
        dialog.setDirectory(run.dir.path()); // the user goes to a folder
        type(dialog, QStringLiteral("march"));
        press(dialog, QDialogButtonBox::Save);
    };
    EXPECT_EQ(QFileInfo(run.run()).absoluteFilePath().toStdString(), QFileInfo(run.path("march.csv")).absoluteFilePath().toStdString());
    EXPECT_EQ(title.toStdString(), "Export for spreadsheet");
    EXPECT_TRUE(run.questions.isEmpty());
}

TEST(SpreadsheetDialog, TheProposedNameIsTakenAsItStandsAndCancelChoosesNothing)
{
    ExportDialog run;
    run.onDialog = [&](QFileDialog &dialog) {
        dialog.setDirectory(run.dir.path());
        press(dialog, QDialogButtonBox::Save);
    };
    EXPECT_EQ(QFileInfo(run.run()).absoluteFilePath().toStdString(),
              QFileInfo(run.path("Events-spreadsheet.csv")).absoluteFilePath().toStdString());

    run.onDialog = [](QFileDialog &dialog) { press(dialog, QDialogButtonBox::Cancel); };
    EXPECT_TRUE(run.run().isEmpty());
}

TEST(SpreadsheetDialog, AnExistingFileIsReplacedOnlyAfterTheUserSaysYes)
{
    ExportDialog run;
    QFile existing(run.path("Events-spreadsheet.csv"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();

    // No: the dialog stays for another name.
    bool stayed = false;
    run.onQuestion = [](QMessageBox &) { return QMessageBox::No; };
    run.onDialog = [&](QFileDialog &dialog) {
        type(dialog, existing.fileName());
        press(dialog, QDialogButtonBox::Save);
        QTimer::singleShot(100, &dialog, [&stayed, &dialog] {
            stayed = dialog.isVisible();
            press(dialog, QDialogButtonBox::Cancel);
        });
    };
    EXPECT_TRUE(run.run().isEmpty());
    EXPECT_TRUE(stayed);
    ASSERT_EQ(run.questions.size(), 1);
    EXPECT_TRUE(run.questions.first().contains(QStringLiteral("Events-spreadsheet.csv")));

    run.onQuestion = [](QMessageBox &) { return QMessageBox::Yes; };
    run.onDialog = [&](QFileDialog &dialog) {
        type(dialog, existing.fileName());
        press(dialog, QDialogButtonBox::Save);
    };
    EXPECT_EQ(QFileInfo(run.run()).absoluteFilePath().toStdString(), QFileInfo(existing).absoluteFilePath().toStdString());
    EXPECT_EQ(run.questions.size(), 2);
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
