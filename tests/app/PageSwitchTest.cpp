#include "FormHarness.h"

#include "app/widgets/FrameActions.h"
#include "directory/widgets/PhonePage.h"
#include "events/widgets/EventsPage.h"
#include "parameters/widgets/SystemPage.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {
// The commands as one line: + enabled, - disabled.
QString commands(TCorvalenForm &form)
{
    const FrameActions &a = form.actions();
    const struct
    {
        const char *name;
        QAction *action;
    } all[] = {{"New", a.FileNewItem}, {"Open", a.FileOpenItem}, {"Save", a.FileSaveItem},
               {"SaveAs", a.SaveAs},   {"Edit", a.Edit1->menuAction()}, {"TBnew", a.TBnew},
               {"TBOpen", a.TBOpen},   {"TBSave", a.TBSave},             {"Export", a.FileExportItem}};
    QStringList parts;
    for (const auto &c : all)
        parts << QLatin1String(c.action->isEnabled() ? "+" : "-") + QLatin1String(c.name);
    return parts.join(QLatin1Char(' '));
}

const QString kPhonePage = QStringLiteral("+New +Open +Save +SaveAs +Edit +TBnew +TBOpen +TBSave +Export");
} // namespace

TEST(PageSwitchTest, TheParameterPageOffersOpenAndSaveAsOnly)
{
    FormHarness h;
    h.form.actions().Pbutt->trigger();
    EXPECT_EQ(h.form.Page->currentWidget()->objectName(), QStringLiteral("system"));
    EXPECT_EQ(commands(h.form), QStringLiteral("-New +Open -Save +SaveAs -Edit -TBnew +TBOpen -TBSave -Export"));
}

TEST(PageSwitchTest, TheEventPageOffersSaveAsOnlyOnceEventsAreThere)
{
    FormHarness h;
    h.form.actions().Eventb->trigger();
    EXPECT_EQ(h.form.Page->currentWidget()->objectName(), QStringLiteral("Events"));
    EXPECT_EQ(commands(h.form), QStringLiteral("-New -Open -Save -SaveAs -Edit -TBnew -TBOpen -TBSave -Export"));
}

TEST(PageSwitchTest, TheRfidPageOffersNoFileCommand)
{
    FormHarness h;
    h.form.actions().RFbutt->trigger();
    EXPECT_EQ(h.form.Page->currentWidget()->objectName(), QStringLiteral("RFid_SU"));
    EXPECT_EQ(commands(h.form), QStringLiteral("-New -Open -Save -SaveAs -Edit -TBnew -TBOpen -TBSave -Export"));
}

TEST(PageSwitchTest, ThePhonePageButtonBringsEveryCommandBack)
{
    FormHarness h;
    h.form.actions().RFIDCodes1->trigger();
    h.form.actions().PHBut->trigger();
    EXPECT_EQ(h.form.Page->currentWidget()->objectName(), QStringLiteral("phdir"));
    EXPECT_EQ(commands(h.form), kPhonePage);

    h.form.actions().Parab->trigger();
    h.form.actions().phlistb->trigger();
    EXPECT_EQ(commands(h.form), kPhonePage);
}

TEST(PageSwitchTest, ATabClickOnlyChangesThePageShown)
{
    FormHarness h;
    h.form.actions().PHBut->trigger();
    h.form.Page->setCurrentIndex(1);
    EXPECT_EQ(h.form.Page->currentWidget()->objectName(), QStringLiteral("system"));
    EXPECT_EQ(commands(h.form), kPhonePage);

    h.form.actions().Ebutt->trigger();
    h.form.Page->setCurrentIndex(0);
    EXPECT_EQ(commands(h.form), QStringLiteral("-New -Open -Save -SaveAs -Edit -TBnew -TBOpen -TBSave -Export"));
}

TEST(PageSwitchTest, ExportGoesWithSaveAsOnTheEventPageButNotOnTheParameterPage)
{
    FormHarness h;
    h.form.actions().Pbutt->trigger();
    emit h.form.systemPage()->saveAsOffered();
    EXPECT_EQ(commands(h.form), QStringLiteral("-New +Open -Save +SaveAs -Edit -TBnew +TBOpen -TBSave -Export"));
    h.form.actions().Ebutt->trigger();
    emit h.form.eventsPage()->saveAsOffered(); // a download completed
    EXPECT_EQ(commands(h.form), QStringLiteral("-New -Open -Save +SaveAs -Edit -TBnew -TBOpen -TBSave +Export"));
}

TEST(PageSwitchTest, ParameterReadsAndDownloadsOfferTheirSaveCommands)
{
    FormHarness h;
    h.form.actions().Ebutt->trigger();
    h.form.context().fileCommands->setEnabled(FileCommandState::SaveAs, true);
    EXPECT_TRUE(h.form.actions().SaveAs->isEnabled());
    h.form.context().directory.allowPhoneFileSave();
    EXPECT_TRUE(h.form.actions().FileSaveItem->isEnabled());
    EXPECT_TRUE(h.form.actions().TBSave->isEnabled());
}

TEST(FileCommandTest, NewEndsTheConnectionButNotWhileAnExchangeWaits)
{
    FormHarness h;
    h.logOn();
    h.port.clearLog();
    {
        ExchangeGuard::Scope transfer(h.form.context().guard);
        h.form.actions().FileNewItem->trigger();
        EXPECT_TRUE(h.port.commands().isEmpty());
        EXPECT_TRUE(h.form.connection().loggedOn());
    }
    h.form.actions().TBnew->trigger();
    EXPECT_EQ(h.port.commands(), QList<QByteArray>{"x"});
    EXPECT_FALSE(h.form.connection().loggedOn());
    EXPECT_EQ(h.form.actions().OnLine1->text(), QStringLiteral("Log On"));
}

TEST(FileCommandTest, ExportWritesThePageShowingForASpreadsheetAndLeavesTheFileName)
{
    FormHarness h;
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QString sheet = h.dir.filePath(QStringLiteral("sheet.csv"));
    h.form.phonePage()->setExportChooser([&] { return sheet; });
    h.form.context().directory.PhoneTable.appendRecord({"M\xFC" "ller, Jo", "7"});
    const QString listName = h.form.context().directory.DBFiles();

    h.form.actions().FileExportItem->trigger();
    QLocale::setDefault(previous);
    QFile file(sheet);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\xEF\xBB\xBFName,RoomNumber,PHnumber,Code1,Code2,spare,RFID,Addr\r\n"
                                         "\"M\xC3\xBCller, Jo\",7,,,,,,\r\n"));
    EXPECT_EQ(h.form.context().directory.DBFiles(), listName);

    // Nothing to export on the parameter page, whatever a tab click left on.
    file.remove();
    h.form.actions().PHBut->trigger();
    h.form.Page->setCurrentIndex(1);
    h.form.actions().FileExportItem->trigger();
    EXPECT_FALSE(QFile::exists(sheet));
    EXPECT_TRUE(h.prompt.messages.isEmpty());
}
