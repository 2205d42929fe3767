#include "FormHarness.h"

#include "app/widgets/ActionHint.h"
#include "app/widgets/FrameActions.h"
#include "backup/PanelBackups.h"

#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <gtest/gtest.h>

TEST(ActionHintTest, TheBarSplitsTooltipFromStatusTip)
{
    QAction action;
    ActionHint::apply(&action, QStringLiteral("Save|Save current file"));
    EXPECT_EQ(action.toolTip(), QStringLiteral("Save"));
    EXPECT_EQ(action.statusTip(), QStringLiteral("Save current file"));

    // No bar: both are the whole hint.
    ActionHint::apply(&action, QStringLiteral("Display Event Page"));
    EXPECT_EQ(action.toolTip(), QStringLiteral("Display Event Page"));
    EXPECT_EQ(action.statusTip(), QStringLiteral("Display Event Page"));

    // Nothing before the bar: the tooltip falls back to the long part.
    ActionHint::apply(&action, QStringLiteral("|Only the long part"));
    EXPECT_EQ(action.toolTip(), QStringLiteral("Only the long part"));
    EXPECT_EQ(action.statusTip(), QStringLiteral("Only the long part"));

    // Only the first bar splits; a device name may hold one.
    EXPECT_EQ(ActionHint::shortPart(QStringLiteral("a|b|c")), QStringLiteral("a"));
    EXPECT_EQ(ActionHint::longPart(QStringLiteral("a|b|c")), QStringLiteral("b|c"));
    EXPECT_EQ(ActionHint::longPart(QStringLiteral("short|")), QString());
}

TEST(FrameActionsTest, EachFileCommandShowsOnItsOwnControlWithoutAWindowBehindIt)
{
    // The actions and menus need a main window to sit in, nothing of the
    // program's own window.
    QMainWindow window;
    FrameActions a(&window);
    QMenu ports(QStringLiteral("Port"));
    a.build(&window, &ports, new QLabel(&window));
    const struct
    {
        FileCommandState::Command command;
        QAction *control;
    } rows[] = {
        {FileCommandState::FileNewItem, a.FileNewItem}, {FileCommandState::FileOpenItem, a.FileOpenItem},
        {FileCommandState::FileSaveItem, a.FileSaveItem}, {FileCommandState::SaveAs, a.SaveAs},
        {FileCommandState::Edit1, a.Edit1->menuAction()}, {FileCommandState::TBnew, a.TBnew},
        {FileCommandState::TBOpen, a.TBOpen},           {FileCommandState::TBSave, a.TBSave},
        {FileCommandState::FileExportItem, a.FileExportItem},
    };
    for (const auto &row : rows) {
        a.showFileCommand(row.command, false);
        for (const auto &other : rows)
            EXPECT_EQ(other.control->isEnabled(), other.control != row.control)
                << qPrintable(other.control->objectName()) << " after " << row.command;
        a.showFileCommand(row.command, true);
        EXPECT_TRUE(row.control->isEnabled());
    }
    EXPECT_TRUE(a.File1->menuAction()->isEnabled());
    EXPECT_TRUE(a.Connect1->actions().contains(ports.menuAction()));
}

TEST(FrameBackupsTest, BackupsComeOnceAndJustBeforeExit)
{
    FormHarness h;
    EXPECT_EQ(h.form.backups(), nullptr);
    h.form.BackupsItemClick(); // nothing to show, nothing happens
    h.form.enableBackups(h.dir.filePath(QStringLiteral("backups")));
    PanelBackups *first = h.form.backups();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(h.form.context().erase, static_cast<ErasePermission *>(first));
    h.form.enableBackups(h.dir.filePath(QStringLiteral("elsewhere")));
    EXPECT_EQ(h.form.backups(), first);

    const QList<QAction *> items = h.form.actions().File1->actions();
    int found = 0;
    for (int i = 0; i < items.size(); ++i)
        if (items.at(i)->objectName() == QStringLiteral("BackupsItem")) {
            ++found;
            ASSERT_LT(i + 1, items.size());
            EXPECT_EQ(items.at(i + 1), h.form.actions().FileExitItem);
            EXPECT_EQ(items.at(i)->text(), QStringLiteral("&Backups..."));
        }
    EXPECT_EQ(found, 1);
}
