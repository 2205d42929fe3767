#include "FormHarness.h"

#include "app/widgets/AnimateStrip.h"
#include "app/widgets/FrameActions.h"
#include "app/widgets/FrameStatusBar.h"
#include "app/widgets/PortMenu.h"
#include "directory/widgets/PhonePage.h"
#include "link/PanelModel.h"
#include "link/LogOnDetails.h"
#include "link/widgets/TEnterPin.h"
#include "link/widgets/TTransferF.h"
#include "parameters/widgets/SystemPage.h"
#include "support/AccessibleNames.h"

#include <QAccessible>
#include <QFile>
#include <QStatusTipEvent>
#include <QTimer>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QElapsedTimer>
#include <QSet>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {
QStringList tabCaptions(const QTabWidget *tabs)
{
    QStringList captions;
    for (int i = 0; i < tabs->count(); ++i)
        captions << tabs->tabText(i);
    return captions;
}
} // namespace

TEST(FrameStartTest, StartsOfflineOnThePhonePageWithComm2Checked)
{
    FormHarness h;
    TCorvalenForm &form = h.form;
    const FrameActions &a = form.actions();

    EXPECT_EQ(form.windowTitle(), QStringLiteral("Ostrel Corvalen Xarn_000  Programmer   =Corvalen-Pro=  V7.1"));
    EXPECT_EQ(form.Page->currentWidget()->objectName(), QStringLiteral("phdir"));
    EXPECT_EQ(tabCaptions(form.Page), (QStringList{"PhoneDataBase", "SystemControls", "Events", "RFid_SU"}));
    EXPECT_TRUE(form.portMenu().item(2)->isChecked());
    EXPECT_FALSE(form.portMenu().item(1)->isChecked());
    EXPECT_EQ(h.port.portName(), QStringLiteral("COM2"));
    EXPECT_TRUE(form.portMenu().menuAction()->isEnabled());
    EXPECT_FALSE(h.port.isOpen());
    EXPECT_TRUE(h.port.written().isEmpty());
    EXPECT_EQ(a.OnLine1->text(), QStringLiteral("Log On"));
    EXPECT_EQ(a.led->toolTip(), QStringLiteral("Log On"));
    EXPECT_FALSE(a.led->isChecked());
    EXPECT_FALSE(form.animation().running());
    EXPECT_EQ(form.animation().toolTip(), QStringLiteral("OFF Line"));
    for (QAction *command : {a.FileNewItem, a.FileOpenItem, a.FileSaveItem, a.SaveAs, a.TBnew, a.TBOpen, a.TBSave})
        EXPECT_TRUE(command->isEnabled()) << qPrintable(command->objectName());
    EXPECT_TRUE(form.context().directory.PhoneFileSaveAllowed());
    EXPECT_EQ(form.portChoice().detailsFileName(), QStringLiteral("corvalendata3.ini"));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
}

TEST(FrameStartTest, ActionsCarryTheirCaptionsHintsAndShortcuts)
{
    FormHarness h;
    const FrameActions &a = h.form.actions();
    struct Row
    {
        QAction *action;
        const char *caption, *tip, *status, *shortcut;
    } rows[] = {
        {a.FileNewItem, "&New", "New", "Create a new file", "Ctrl+N"},
        {a.FileOpenItem, "&Open", "Open", "Open a file", "Ctrl+O"},
        {a.FileSaveItem, "&Save", "Save", "Save current file", "Ctrl+S"},
        {a.SaveAs, "Save &As...", "Save As", "Save current file with different name", ""},
        {a.FileExportItem, "&Export for spreadsheet...", "Export for spreadsheet",
         "Save current table as a file for spreadsheet programs", ""},
        {a.FileExitItem, "E&xit", "Exit", "Exit application", ""},
        {a.EditCut1, "Cu&t", "Cut", "Cuts the selection and puts it on the Clipboard", "Ctrl+X"},
        {a.EditCopy1, "&Copy", "Copy", "Copies the selection and puts it on the Clipboard", "Ctrl+C"},
        {a.EditPaste1, "&Paste", "Paste", "Inserts Clipboard contents", "Ctrl+V"},
        {a.phlistb, "phonelist", "Display Phone list Page", "Display Phone list Page", ""},
        {a.Parab, "Parameter", "Display Parameter Page", "Display Parameter Page", ""},
        {a.Eventb, "Events", "Display Event Page", "Display Event Page", ""},
        {a.RFIDCodes1, "RFID Codes", nullptr, nullptr, ""},
        {a.PHBut, nullptr, "Phone List Page", "Phone List Page", ""},
        {a.Pbutt, nullptr, "Parameter Setting Page", "Parameter Setting Page", ""},
        {a.Ebutt, nullptr, "Event display Page", "Event display Page", ""},
        {a.RFbutt, nullptr, "RFID Setup", "RFID Setup", ""},
        {a.HelpAbout1, "&About...", nullptr, nullptr, ""},
    };
    for (const Row &row : rows) {
        const QString name = row.action->objectName();
        if (row.caption) {
            EXPECT_EQ(row.action->text(), QLatin1String(row.caption)) << qPrintable(name);
        }
        if (row.tip) {
            EXPECT_EQ(row.action->toolTip(), QLatin1String(row.tip)) << qPrintable(name);
        }
        if (row.status) {
            EXPECT_EQ(row.action->statusTip(), QLatin1String(row.status)) << qPrintable(name);
        }
        EXPECT_EQ(row.action->shortcut().toString(), QLatin1String(row.shortcut)) << qPrintable(name);
    }
    EXPECT_TRUE(a.TBnew->shortcut().isEmpty()); // one shortcut, on the menu item
}

TEST(FrameStartTest, MenusAndToolbarAreInTheirOrder)
{
    FormHarness h;
    const FrameActions &a = h.form.actions();
    QStringList menus;
    for (QAction *item : h.form.menuBar()->actions())
        menus << item->text();
    EXPECT_EQ(menus, (QStringList{"&File", "&Edit", "Window", "&About...", "Connect"}));
    QStringList file;
    for (QAction *item : a.File1->actions())
        file << (item->isSeparator() ? QStringLiteral("|") : item->objectName());
    EXPECT_EQ(file, (QStringList{"FileNewItem", "FileOpenItem", "FileSaveItem", "SaveAs", "FileExportItem", "|",
                                 "FileExitItem"}));

    QStringList buttons;
    for (QAction *item : a.ToolBar1->actions())
        buttons << (item->isSeparator() ? QStringLiteral("|") : item->objectName());
    buttons.removeAll(QString()); // the spacer and the animation
    EXPECT_EQ(buttons, (QStringList{"TBnew", "TBOpen", "TBSave", "|", "EditCut1", "EditCopy1", "EditPaste1", "|",
                                    "PHBut", "Pbutt", "Ebutt", "RFbutt", "|", "led"}));

    QStringList connect;
    for (QAction *item : a.Connect1->actions())
        connect << item->text();
    EXPECT_EQ(connect, (QStringList{"Log On", "Port", "", "Save &Diagnostics..."}));
    EXPECT_TRUE(h.form.portMenu().item(1)->toolTip().contains(h.devices.device(1)));
}

TEST(FrameConnectionTest, LogOnShowsTheModelTheLampAndTheAnimation)
{
    FormHarness h;
    h.panel.identity = "Corvalen_200_Xarn";
    h.logOn();
    const FrameActions &a = h.form.actions();

    EXPECT_EQ(h.form.windowTitle(), QStringLiteral("Ostrel Corvalen Xarn_200  Programmer   =Corvalen-Pro=  V7"));
    EXPECT_EQ(h.form.statusSink().statusText(), QStringLiteral("Connected"));
    EXPECT_EQ(a.OnLine1->text(), QStringLiteral("Log Off"));
    EXPECT_EQ(a.led->toolTip(), QStringLiteral("Log Off"));
    EXPECT_TRUE(h.form.animation().running());
    EXPECT_EQ(h.form.animation().toolTip(), QStringLiteral("On Line"));
    EXPECT_FALSE(h.form.portMenu().menuAction()->isEnabled());

    a.led->trigger();
    EXPECT_FALSE(h.port.isOpen());
    EXPECT_EQ(a.OnLine1->text(), QStringLiteral("Log On"));
    EXPECT_FALSE(h.form.animation().running());
    EXPECT_EQ(h.form.animation().frame(), 0);
    EXPECT_TRUE(h.form.portMenu().menuAction()->isEnabled());
    EXPECT_FALSE(a.led->isChecked());
}

// A screen reader presses the lamp with its one accessible action, Toggle:
// that must log off (and on) as a click does, not flip the button alone.
TEST(FrameConnectionTest, TheLampsAccessibleToggleWorksAsAClick)
{
    FormHarness h;
    h.logOn();
    const FrameActions &a = h.form.actions();
    auto *button = qobject_cast<QToolButton *>(a.ToolBar1->widgetForAction(a.led));
    ASSERT_NE(button, nullptr);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(button);
    ASSERT_NE(iface, nullptr);
    ASSERT_NE(iface->actionInterface(), nullptr);
    ASSERT_EQ(iface->actionInterface()->actionNames().value(0), QAccessibleActionInterface::toggleAction());

    iface->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(h.port.isOpen()); // the click runs once the caller has its answer
    QCoreApplication::processEvents();
    EXPECT_FALSE(h.port.isOpen());
    EXPECT_EQ(a.OnLine1->text(), QStringLiteral("Log On"));
    EXPECT_FALSE(button->isChecked());

    bool dialogShown = false;
    h.pin.duringDialog = [&] { dialogShown = true; };
    iface->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QCoreApplication::processEvents(); // answered with Cancel
    EXPECT_TRUE(dialogShown);
    EXPECT_FALSE(button->isChecked());
    EXPECT_FALSE(a.led->isChecked());
}

TEST(FrameConnectionTest, TheLampIsMarkedWhileTheLogOnDialogIsUp)
{
    FormHarness h;
    bool markedDuringDialog = false;
    h.pin.duringDialog = [&] { markedDuringDialog = h.form.actions().led->isChecked(); };
    h.form.actions().led->trigger(); // answered with Cancel
    EXPECT_TRUE(markedDuringDialog);
    EXPECT_FALSE(h.form.actions().led->isChecked());
    EXPECT_EQ(h.port.openCount(), 0);
}

TEST(FrameConnectionTest, ReturnInThePinFieldLogsOnWithoutTouchingTheDetailsFile)
{
    FormHarness h;
    LogOnDetails remembered;
    remembered.pin = "4321";
    remembered.rememberDetails = true;
    remembered.portNumber = 3;
    QString error;
    ASSERT_TRUE(remembered.write(QStringLiteral("corvalendata3.ini"), &error));
    const QByteArray before = remembered.toBytes();

    TEnterPin dialog(h.form.portChoice(), h.prompt, &h.form);
    h.form.setLogOnDialog(&dialog);
    QTimer::singleShot(0, &dialog, [&] {
        EXPECT_EQ(dialog.CorvalenPin->text(), QStringLiteral("4321"));
        dialog.CorvalenPin->setText(QStringLiteral("1234"));
        QTest::keyClick(dialog.CorvalenPin, Qt::Key_Return);
    });
    h.form.actions().OnLine1->trigger();

    EXPECT_TRUE(h.form.connection().loggedOn());
    EXPECT_EQ(h.port.portName(), QStringLiteral("COM3"));
    EXPECT_TRUE(h.form.portMenu().item(3)->isChecked());
    QFile file(QStringLiteral("corvalendata3.ini"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}

TEST(FrameStatusTest, HintsShowInTheFirstPanelUntilAStatusTextComes)
{
    FormHarness h;
    QStatusTipEvent tip(QStringLiteral("Create a new file"));
    QApplication::sendEvent(&h.form, &tip);
    EXPECT_EQ(h.form.statusBar()->currentMessage(), QStringLiteral("Create a new file"));
    h.form.statusSink().setStatusText(QStringLiteral("DownLoading."));
    EXPECT_TRUE(h.form.statusBar()->currentMessage().isEmpty());
    EXPECT_EQ(h.form.statusSink().statusText(), QStringLiteral("DownLoading."));
    h.form.statusSink().showCommand("d01281152\r");
    EXPECT_EQ(h.form.statusSink().commandText(), QStringLiteral("d01281152"));
}

// Storing a record writes a command of some seventy characters: the
// command panel keeps its width and the status texts their room.
TEST(FrameStatusTest, ALongCommandIsCutShortAndTheFirstPanelKeepsItsRoom)
{
    FormHarness h;
    h.form.show();
    FrameStatusBar &bar = h.form.statusSink();
    auto *second = bar.findChild<QLabel *>(QStringLiteral("StatusPanel1"));
    ASSERT_NE(second, nullptr);
    const int width = second->width();
    const QByteArray record = "g1408101???04:1;2<3=4102???04>5?60718103???1?2>3=4<5;103???1?2>3=4<5<";
    bar.showCommand(record + "\r");
    QCoreApplication::processEvents();
    EXPECT_EQ(bar.commandText(), QString::fromLatin1(record));
    EXPECT_EQ(second->width(), width);
    EXPECT_TRUE(bar.shownCommandText().endsWith(QChar(0x2026))) << qPrintable(bar.shownCommandText());
    EXPECT_TRUE(QString::fromLatin1(record).startsWith(bar.shownCommandText().chopped(1)));
    EXPECT_EQ(second->toolTip(), QString::fromLatin1(record));

    bar.showCommand("e\r"); // a short one is shown whole, without a tooltip
    EXPECT_EQ(bar.shownCommandText(), QStringLiteral("e"));
    EXPECT_TRUE(second->toolTip().isEmpty());
}

// An upload shows two commands a record: the window must not lay itself
// out again for each, and the panels still fill the bar.
TEST(FrameStatusTest, NewTextsDoNotLayTheWindowOutAgain)
{
    FormHarness h;
    h.form.resize(700, 500);
    h.form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&h.form));
    struct Count : QObject
    {
        int layouts = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            layouts += event->type() == QEvent::LayoutRequest;
            return false;
        }
    } count;
    FrameStatusBar &bar = h.form.statusSink();
    bar.installEventFilter(&count); // the bar's request is what reaches the window
    for (int record = 128; record < 148; ++record) {
        bar.showCommand("b0" + QByteArray::number(record) + "101,1234,5678,12,0123456789:;<,Resident\r");
        bar.showCommand("r0" + QByteArray::number(record) + "\r");
        bar.setStatusText(record % 2 ? QStringLiteral("Rewriting Phone List") : QStringLiteral("Done"));
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(count.layouts, 0);

    auto *first = bar.findChild<QLabel *>(QStringLiteral("StatusPanel0"));
    auto *second = bar.findChild<QLabel *>(QStringLiteral("StatusPanel1"));
    h.form.resize(900, 500);
    QCoreApplication::processEvents();
    EXPECT_LT(first->geometry().right(), second->geometry().left());
    EXPECT_GT(first->width(), bar.width() - second->width() - 40);
    EXPECT_GE(first->height(), first->fontMetrics().height());
}

TEST(FrameLeavingTest, ExitWhileOnlineWritesTheLogOffOnce)
{
    FormHarness h;
    h.form.show();
    h.logOn();
    h.port.clearLog();
    h.waiter.clearLog();
    h.form.actions().FileExitItem->trigger();

    EXPECT_EQ(h.port.commands(), QList<QByteArray>{"x"});
    EXPECT_FALSE(h.port.isOpen());
    EXPECT_FALSE(h.form.isVisible());
    EXPECT_EQ(h.waiter.waits().last(), 500);
}

TEST(FrameLeavingTest, ClosingWhileOfflineWritesNothingAndStillWaits432ms)
{
    FormHarness h;
    h.form.show();
    h.waiter.clearLog();
    const qint64 before = h.clock.nowNs(); // start-up's New pauses before it sets up the phone grid
    h.form.close();
    EXPECT_TRUE(h.port.written().isEmpty());
    EXPECT_EQ(h.waiter.waits(), QList<qint32>{500});
    EXPECT_EQ(h.clock.nowNs() - before, 500 * Waiter::kTickNs);
}

TEST(FrameLeavingTest, ClosingWhileOnlineLogsOff)
{
    FormHarness h;
    h.form.show();
    h.logOn();
    h.port.clearLog();
    h.form.close();
    EXPECT_EQ(h.port.commands(), QList<QByteArray>{"x"});
    EXPECT_FALSE(h.port.isOpen());
}

TEST(FramePortTest, ChoosingAPortChecksOnlyItAndIsIgnoredWhileAnExchangeWaits)
{
    FormHarness h;
    PortMenu &ports = h.form.portMenu();
    ports.item(3)->trigger();
    EXPECT_EQ(h.port.portName(), QStringLiteral("COM3"));
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(ports.item(n)->isChecked(), n == 3) << n;

    ExchangeGuard::Scope busy(h.form.context().guard);
    ports.item(1)->trigger();
    EXPECT_EQ(h.port.portName(), QStringLiteral("COM3"));
    EXPECT_TRUE(ports.item(3)->isChecked());
    EXPECT_FALSE(ports.item(1)->isChecked());
}

// During a transfer the command panel keeps a readable pace, and the last
// command shows once the transfer ends; outside one every command shows.
TEST(FrameStatusTest, DuringATransferTheCommandPanelKeepsAReadablePace)
{
    FormHarness h;
    TTransferF transfer(h.form.statusSink());
    h.form.setTransferWindow(&transfer);
    FrameStatusBar &bar = h.form.statusSink();
    h.form.context().feedback.showTransferWindow();
    QElapsedTimer took;
    took.start();
    QSet<QString> shown;
    for (int record = 128; record < 178; ++record) {
        bar.showCommand("r0" + QByteArray::number(record) + "\r");
        shown.insert(bar.shownCommandText());
    }
    EXPECT_LE(shown.size(), 2 + took.elapsed() / FrameStatusBar::kCommandFrameMs) << shown.size();
    EXPECT_EQ(bar.commandText(), QStringLiteral("r0177"));
    h.form.context().feedback.hideTransferWindow();
    EXPECT_EQ(bar.shownCommandText(), QStringLiteral("r0177"));

    bar.showCommand("r0200\r");
    bar.showCommand("r0201\r");
    EXPECT_EQ(bar.shownCommandText(), QStringLiteral("r0201"));
}

TEST(FrameFeedbackTest, TransfersDriveTheTransferWindowTheLampAndTheKeepAlive)
{
    FormHarness h;
    TTransferF transfer(h.form.statusSink());
    h.form.setTransferWindow(&transfer);
    h.logOn();
    TransferFeedback &feedback = h.form.context().feedback;

    feedback.showTransferWindow();
    feedback.startLampBlink();
    feedback.stopKeepAlive();
    EXPECT_TRUE(transfer.isVisible());
    EXPECT_EQ(h.form.statusSink().statusText(), QStringLiteral("DownLoading."));
    EXPECT_TRUE(h.form.connection().lampBlinking());
    EXPECT_FALSE(h.form.connection().keepAliveRunning());

    feedback.hideTransferWindow();
    feedback.stopLampBlink();
    feedback.startKeepAlive();
    feedback.setLedImage(21);
    EXPECT_FALSE(transfer.isVisible());
    EXPECT_EQ(h.form.statusSink().statusText(), QStringLiteral("Done"));
    EXPECT_EQ(h.form.connection().ledImage(), 21);
    EXPECT_TRUE(h.form.connection().keepAliveRunning());

    feedback.setBusyCursor(true);
    feedback.setBusyCursor(true);
    feedback.setBusyCursor(false);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(FrameEditTest, CutCopyAndPasteActOnTheFocusedEdit)
{
    FormHarness h;
    auto *edit = new QLineEdit(h.form.phonePage());
    h.form.show();
    h.form.activateWindow();
    if (!QTest::qWaitForWindowActive(&h.form))
        GTEST_SKIP() << "the platform activates no window";
    edit->setFocus();
    if (QApplication::focusWidget() != edit)
        GTEST_SKIP() << "the platform gives no focus";
    edit->setText(QStringLiteral("Room 12"));
    edit->selectAll();
    h.form.actions().EditCut1->trigger();
    EXPECT_TRUE(edit->text().isEmpty());
    h.form.actions().EditPaste1->trigger();
    h.form.actions().EditPaste1->trigger();
    EXPECT_EQ(edit->text(), QStringLiteral("Room 12Room 12"));
}

TEST(FrameAccessibilityTest, EveryControlOfTheFrameHasAName)
{
    FormHarness h;
    h.form.show();
    QStringList unnamed;
    for (QWidget *control : h.form.findChildren<QWidget *>()) {
        if (!control->isVisible() || control->objectName().startsWith(QLatin1String("qt_")))
            continue;
        const bool interactive = qobject_cast<QAbstractButton *>(control) || qobject_cast<QLineEdit *>(control)
                                 || qobject_cast<QTabWidget *>(control) || qobject_cast<QToolBar *>(control)
                                 || qobject_cast<QMenuBar *>(control) || qobject_cast<AnimateStrip *>(control)
                                 || control->parentWidget() == h.form.Page->widget(0)->parentWidget();
        if (!interactive)
            continue;
        QAccessibleInterface *item = QAccessible::queryAccessibleInterface(control);
        if (!item || item->text(QAccessible::Name).isEmpty())
            unnamed << control->objectName() + QStringLiteral(" ") + QLatin1String(control->metaObject()->className());
    }
    EXPECT_TRUE(unnamed.isEmpty()) << qPrintable(unnamed.join(QStringLiteral(", ")));
    // The toolbar is read by a name for people, not by its control's name.
    const QString toolbar = accessibleText(h.form.actions().ToolBar1, QAccessible::Name);
    EXPECT_FALSE(toolbar.isEmpty());
    EXPECT_NE(toolbar, h.form.actions().ToolBar1->objectName());
    // Hidden in a window this wide, yet listed to assistive technology.
    auto *more = h.form.actions().ToolBar1->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button"));
    ASSERT_NE(more, nullptr);
    EXPECT_FALSE(accessibleText(more, QAccessible::Name).isEmpty());
    // The lamp is read as the menu item that does the same says, before and
    // after a log-on.
    QWidget *led = h.form.actions().ToolBar1->widgetForAction(h.form.actions().led);
    const auto menuCaption = [&] { return h.form.actions().OnLine1->text().remove(QLatin1Char('&')); };
    EXPECT_EQ(accessibleText(led, QAccessible::Name), menuCaption());
    h.logOn();
    ASSERT_TRUE(h.form.link().conn().LoggedOn);
    EXPECT_EQ(accessibleText(led, QAccessible::Name), menuCaption());
    EXPECT_EQ(menuCaption(), QStringLiteral("Log Off"));
    // A toolbar button's hint, shown in the status bar on hovering, is its description.
    QWidget *save = h.form.actions().ToolBar1->widgetForAction(h.form.actions().TBSave);
    EXPECT_EQ(accessibleText(save, QAccessible::Description), h.form.actions().TBSave->statusTip());
}

TEST(FrameAccessibilityTest, StatusPanelsCounterAndWindowAreReadAsTheyShow)
{
    FormHarness h;
    h.panel.identity = "Corvalen_200_Xarn";
    h.logOn();
    FrameStatusBar &bar = h.form.statusSink();
    auto *first = bar.findChild<QLabel *>(QStringLiteral("StatusPanel0"));
    auto *second = bar.findChild<QLabel *>(QStringLiteral("StatusPanel1"));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->text(), QStringLiteral("Connected"));
    EXPECT_EQ(accessibleText(first, QAccessible::Name), first->text());
    bar.showCommand("d01281152\r");
    EXPECT_EQ(accessibleText(second, QAccessible::Name), second->text());
    EXPECT_TRUE(second->text().startsWith(QStringLiteral("d0128"))) << qPrintable(second->text());
    // The two panels are told apart by what they are.
    EXPECT_FALSE(accessibleText(first, QAccessible::Description).isEmpty());
    EXPECT_NE(accessibleText(first, QAccessible::Description), accessibleText(second, QAccessible::Description));

    // The window is read by the model the log-on found.
    EXPECT_TRUE(accessibleText(&h.form, QAccessible::Name).contains(QStringLiteral("Xarn_200")))
        << qPrintable(accessibleText(&h.form, QAccessible::Name));

    for (const char *name : {"recordno", "totrec"}) {
        auto *counter = h.form.phonePage()->findChild<QLabel *>(QLatin1String(name));
        ASSERT_NE(counter, nullptr) << name;
        EXPECT_EQ(accessibleText(counter, QAccessible::Name), counter->text()) << name;
        EXPECT_FALSE(accessibleText(counter, QAccessible::Description).isEmpty()) << name;
    }
    auto *totrec = h.form.phonePage()->findChild<QLabel *>(QStringLiteral("totrec"));
    EXPECT_FALSE(totrec->text().isEmpty());
}

TEST(FrameBusyTest, AClickRefusedWhileAnExchangeWaitsSaysBusyUntilTheExchangeEnds)
{
    FormHarness h;
    h.logOn();
    FrameStatusBar &bar = h.form.statusSink();
    h.port.clearLog();
    {
        ExchangeGuard::Scope exchange(h.form.context().guard);
        h.form.FileOpen1Execute();
        EXPECT_EQ(bar.statusText(), QStringLiteral("Busy"));
    }
    EXPECT_EQ(bar.statusText(), QStringLiteral("Connected"));

    // Buttons of the pages are refused by the same guard.
    h.form.PbuttClick();
    {
        ExchangeGuard::Scope exchange(h.form.context().guard);
        h.form.systemPage()->findChild<QPushButton *>(QStringLiteral("ReadAll"))->click();
        EXPECT_EQ(bar.statusText(), QStringLiteral("Busy"));
        bar.setStatusText(QStringLiteral("Done")); // the exchange's own last word
        h.form.phonePage()->findChild<QPushButton *>(QStringLiteral("GetData"))->click();
        EXPECT_EQ(bar.statusText(), QStringLiteral("Busy"));
    }
    EXPECT_EQ(bar.statusText(), QStringLiteral("Done"));
    EXPECT_TRUE(h.port.commands().isEmpty());
}
