#include "parameters/ParameterControlInfo.h"
#include "parameters/widgets/ParameterFileDialog.h"
#include "parameters/widgets/SystemPage.h"
#include "support/AccessibleNames.h"
#include "support/AppHarness.h"
#include "ParameterPanel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QAccessible>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using E = ParamEdit;
using K = ParamCheck;

namespace {

const QColor kOlive(128, 128, 0);

} // namespace

class SystemPageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        h.port.setResponder([this](const QByteArray &command) { return panel(command); });
        page.resize(760, 430);
        page.show();
    }
    void goOnline()
    {
        h.logOn();
        page.setOnline(true);
    }

    QLineEdit *edit(E id) const { return find<QLineEdit>(ParameterControlInfo::edit(id).objectName); }
    QAbstractButton *check(K id) const { return find<QAbstractButton>(ParameterControlInfo::check(id).objectName); }
    QPushButton *button(const char *name) const { return find<QPushButton>(name); }
    QWidget *widget(const char *name) const { return find<QWidget>(name); }
    QTabWidget *tabs() const { return find<QTabWidget>("PhParam"); }
    // Shown when its tab is the current one.
    bool shown(const char *name) const { return shown(widget(name)); }
    bool shown(QWidget *w) const
    {
        for (int i = 0; i < tabs()->count(); ++i)
            if (tabs()->widget(i)->isAncestorOf(w))
                return w->isVisibleTo(tabs()->widget(i));
        return w->isVisibleTo(&page);
    }
    // Types text that has no key of its own.
    static void typeText(QWidget *w, const QString &text)
    {
        for (QChar ch : text)
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
    ParameterControls &model() { return page.controls(); }

    template<typename T>
    T *find(const char *name) const
    {
        T *w = page.findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    AppHarness h;
    ParameterPanel panel;
    SystemPage page{h.ctx};
};

TEST_F(SystemPageTest, EveryControlExistsUnderItsNameWithItsDefaultCaptionAndPlace)
{
    for (int i = 0; i < ParamEditCount; ++i) {
        const ParamEditInfo &info = ParameterControlInfo::edit(E(i));
        QLineEdit *e = edit(E(i));
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->text(), QString::fromLatin1(info.defaultText)) << info.objectName;
        EXPECT_EQ(shown(e), info.initiallyVisible) << info.objectName;
        QWidget *container = info.inMessages ? widget("GroupBox2") : tabs()->widget(int(info.tab));
        EXPECT_TRUE(container->isAncestorOf(e)) << info.objectName;
        EXPECT_EQ(QFontInfo(e->font()).fixedPitch(), info.fixedPitch) << info.objectName;
    }
    for (int i = 0; i < ParamCheckCount; ++i) {
        const ParamCheckInfo &info = ParameterControlInfo::check(K(i));
        QAbstractButton *b = check(K(i));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), QString::fromLatin1(info.caption));
        EXPECT_EQ(b->isChecked(), info.defaultChecked) << info.objectName;
        EXPECT_EQ(b->isEnabled(), info.defaultEnabled) << info.objectName;
    }
    EXPECT_FALSE(shown("opt933"));
    EXPECT_FALSE(shown("UpLoad"));
    EXPECT_FALSE(shown("Label21"));
    EXPECT_FALSE(shown("Label47") || shown("Label31") || shown("Bevel2"));
    EXPECT_EQ(button("ReadAll")->text(), QStringLiteral("Read All"));
    EXPECT_EQ(button("WriteAll")->text(), QStringLiteral("Write All"));
    EXPECT_EQ(button("WriteAll")->toolTip(), QStringLiteral("Write all the above parameters to the Corvalen"));
    EXPECT_EQ(find<QWidget>("GroupBox3")->property("title").toString(), QStringLiteral("Operating Parameters"));
    EXPECT_EQ(find<QWidget>("GroupBox2")->property("title").toString(), QStringLiteral("Messages"));

    const QStringList captions = {"Setting", "Options", "RelayCodes", "SpeedDial #", "Set PIN"};
    const QStringList names = {"Phset", "phopt", "TabSheet2", "TabSheet1", "TabSheet3"};
    ASSERT_EQ(tabs()->count(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(tabs()->tabText(i), captions[i]);
        EXPECT_EQ(tabs()->widget(i)->objectName(), names[i]);
    }

    QLabel *title = find<QLabel>("setupTitle");
    EXPECT_EQ(title->text(), QStringLiteral("User Parameter Setup"));
    EXPECT_FALSE(title->isEnabled());

    // New hides the no-answer ring time again; nothing shows it.
    page.hideNoAnswerRingTime();
    EXPECT_FALSE(shown("Phs_na") || shown("Label21"));
    EXPECT_EQ(model().text(E::Phs_na), QByteArray("15"));
}

TEST_F(SystemPageTest, TheWholePageFitsTheMainWindowsPageArea)
{
    const QSize need = page.minimumSizeHint();
    EXPECT_LE(need.width(), 760);
    EXPECT_LE(need.height(), 430);
}

TEST_F(SystemPageTest, TypingReachesTheModelAndTheModelsTextsAreShownWhole)
{
    QLineEdit *run = edit(E::Phs_run);
    run->clear();
    QTest::keyClicks(run, "120");
    EXPECT_EQ(model().text(E::Phs_run), QByteArray("120"));
    QTest::keyClicks(run, "7"); // three characters at most
    EXPECT_EQ(run->text(), QStringLiteral("120"));

    QTest::keyClicks(edit(E::code_g1), "12345");
    EXPECT_EQ(model().text(E::code_g1), QByteArray("1234"));

    // A text the program puts there is never cut to the typing limit.
    model().setText(E::code_g2, "ERROR");
    model().setText(E::Cont_time, "255");
    EXPECT_EQ(edit(E::code_g2)->text(), QStringLiteral("ERROR"));
    EXPECT_EQ(edit(E::Cont_time)->text(), QStringLiteral("255"));
    // It cannot grow by typing, but shrinks, and the shorter text goes back.
    QTest::keyClicks(edit(E::code_g2), "9");
    EXPECT_EQ(edit(E::code_g2)->text(), QStringLiteral("ERROR"));
    QTest::keyClick(edit(E::code_g2), Qt::Key_Backspace);
    EXPECT_EQ(model().text(E::code_g2), QByteArray("ERRO"));

    // 8-bit text: a byte above 127 shows as its Latin-1 character and a
    // typed Latin-1 character reaches the model as that byte.
    model().setText(E::msg0, "Caf\xE9\x01");
    EXPECT_EQ(edit(E::msg0)->text(), QString::fromLatin1("Caf\xE9\x01"));
    edit(E::msg1)->clear();
    typeText(edit(E::msg1), QString::fromLatin1("\xFC") + QChar(0x20AC) + "x");
    EXPECT_EQ(model().text(E::msg1), QByteArray("\xFCx")); // the euro sign is no byte: refused
}

TEST_F(SystemPageTest, DecodedReadsShowErrorAndWideNumbersWhole)
{
    goOnline();
    panel.readLine["0006"] = "r0006";
    panel.records["0001"] = "010305030214??000000140?0001000<";
    button("ReadCode")->click();
    for (E id : {E::code_g1, E::code_g2, E::code_ic1, E::code_ic2, E::code_sd1, E::code_sd2})
        EXPECT_EQ(edit(id)->text(), QStringLiteral("ERROR"));
    button("ReadPara1")->click();
    EXPECT_EQ(edit(E::Cont_time)->text(), QStringLiteral("255"));
    EXPECT_TRUE(h.prompt.messages.isEmpty());
}

TEST_F(SystemPageTest, ClickingTheChoicesRunsTheOptionRules)
{
    h.directory.setCodeColumnsDimmed(false);
    QTest::mouseClick(check(K::rly2key), Qt::LeftButton);
    EXPECT_TRUE(model().isChecked(K::rly2key));
    EXPECT_FALSE(check(K::rly2off)->isChecked());
    EXPECT_TRUE(check(K::rly2tim)->isEnabled());
    EXPECT_TRUE(shown("Label31") && shown("Bevel2") && shown("Label47"));
    for (E id : {E::code_g1, E::code_g2, E::code_ic2, E::code_sd2})
        EXPECT_EQ(edit(id)->palette().color(QPalette::Active, QPalette::Text), kOlive);
    EXPECT_NE(edit(E::code_ic1)->palette().color(QPalette::Active, QPalette::Text), kOlive);

    // Clicking a chosen radio button again keeps it chosen.
    check(K::rly2key)->click();
    EXPECT_TRUE(check(K::rly2key)->isChecked());
    EXPECT_TRUE(model().isChecked(K::rly2key));

    check(K::rly2tim)->click();
    check(K::rly2off)->click();
    EXPECT_FALSE(check(K::rly2tim)->isEnabled());
    EXPECT_TRUE(check(K::rly2tim)->isChecked()); // its mark stays
    EXPECT_FALSE(shown("Label31") || shown("Bevel2"));
    EXPECT_NE(edit(E::code_ic2)->palette().color(QPalette::Active, QPalette::Text), kOlive);

    // Global codes: the code_g edits return to normal text, the note goes,
    // the directory grid's code columns are dimmed.
    check(K::GlobalCode)->click();
    EXPECT_FALSE(shown("Label47"));
    EXPECT_NE(edit(E::code_g1)->palette().color(QPalette::Active, QPalette::Text), kOlive);
    EXPECT_TRUE(h.directory.codeColumnsDimmed());

    check(K::opt931)->click();
    EXPECT_FALSE(check(K::RadioButton1)->isChecked());
    EXPECT_FALSE(check(K::opt937)->isEnabled());
    check(K::RadioButton1)->click();
    EXPECT_TRUE(check(K::opt937)->isEnabled());

    // A choice the program leaves without a button shows none checked; a
    // click then chooses again, and the group stays exclusive.
    model().setChecked(K::rly2off, false);
    EXPECT_FALSE(check(K::rly2off)->isChecked() || check(K::rly2key)->isChecked() || check(K::rly2line)->isChecked());
    check(K::rly2line)->click();
    check(K::rly2key)->click();
    EXPECT_TRUE(check(K::rly2key)->isChecked() && model().isChecked(K::rly2key));
    EXPECT_FALSE(check(K::rly2line)->isChecked() || model().isChecked(K::rly2line));
}

TEST_F(SystemPageTest, TheChoicesAreRadioButtonsToAssistiveTechnologyAndToTheArrowKeys)
{
    for (K id : {K::RadioButton1, K::opt931, K::opt936, K::rly2off, K::rly2key, K::rly2line})
        EXPECT_EQ(accessibleRole(check(id)), QAccessible::RadioButton) << ParameterControlInfo::check(id).objectName;
    for (K id : {K::opt937, K::rly2tim, K::GlobalCode, K::opt930})
        EXPECT_EQ(accessibleRole(check(id)), QAccessible::CheckBox) << ParameterControlInfo::check(id).objectName;
    // Each set of choices is a group a reader names, and each choice is read
    // by its caption.
    for (K id : {K::RadioButton1, K::opt931, K::opt936, K::rly2off, K::rly2key, K::rly2line}) {
        EXPECT_EQ(accessibleText(check(id), QAccessible::Name), check(id)->text());
        EXPECT_FALSE(accessibleText(check(id)->parentWidget(), QAccessible::Name).isEmpty());
    }

    // An arrow key moves the choice on, and the model and its rules follow.
    tabs()->setCurrentIndex(int(ParamTab::phopt));
    page.activateWindow();
    if (!QTest::qWaitForWindowActive(&page))
        GTEST_SKIP() << "the platform activates no window";
    check(K::rly2off)->setFocus();
    if (QApplication::focusWidget() != check(K::rly2off))
        GTEST_SKIP() << "the platform gives no focus";
    QTest::keyClick(check(K::rly2off), Qt::Key_Down);
    EXPECT_TRUE(model().isChecked(K::rly2key));
    EXPECT_FALSE(check(K::rly2off)->isChecked());
    EXPECT_TRUE(check(K::rly2tim)->isEnabled());
    EXPECT_TRUE(shown("Label31"));
}

TEST_F(SystemPageTest, ButtonsAndTheSetPinTabFollowTheConnectionAndSaveParamTheTab)
{
    const char *online[] = {"ReadPara0", "WritePara0", "ReadPara1", "WritePara1", "ReadCode", "WriteCode",
                            "ReadSpd",   "WriteSpd",   "ReadMsgs",  "ReadAll",    "WriteAll",  "UpDatePIN"};
    for (const char *name : online)
        EXPECT_FALSE(button(name)->isEnabled()) << name;
    EXPECT_FALSE(button("SaveParam")->isEnabled());
    EXPECT_FALSE(tabs()->isTabEnabled(4));

    goOnline();
    for (const char *name : online)
        EXPECT_TRUE(button(name)->isEnabled()) << name;
    EXPECT_TRUE(button("SaveParam")->isEnabled());
    EXPECT_TRUE(tabs()->isTabEnabled(4));

    tabs()->setCurrentIndex(4);
    EXPECT_EQ(model().currentTab(), ParamTab::TabSheet3);
    EXPECT_FALSE(button("SaveParam")->isEnabled());
    tabs()->setCurrentIndex(2);
    EXPECT_TRUE(button("SaveParam")->isEnabled());

    // Going offline on the Set PIN tab leaves it for a tab that may show.
    tabs()->setCurrentIndex(4);
    page.setOnline(false);
    EXPECT_FALSE(tabs()->isTabEnabled(4));
    EXPECT_EQ(int(model().currentTab()), tabs()->currentIndex());
    for (const char *name : online)
        EXPECT_FALSE(button(name)->isEnabled()) << name;
    EXPECT_FALSE(button("SaveParam")->isEnabled());

    // The model's tab is the widget's tab.
    model().setCurrentTab(ParamTab::TabSheet1);
    EXPECT_EQ(tabs()->currentIndex(), 3);
}

TEST_F(SystemPageTest, ReadAllFromThePageFillsTheWidgetsAndOffersSaveAs)
{
    goOnline();
    panel.records["0001"] = "00040:14061>2=0001030<2809070064";
    panel.records["0002"] = QByteArray("Welcome") + QByteArray(9, ' ') + "to Corvalen     ";
    panel.records["0006"] = QByteArray("1234") + "56" + QByteArray(26, '\xFF');
    panel.records["0008"] = QByteArray(":12;<3") + QByteArray(10, '\xFF') + "0044" + QByteArray(12, '\xFF');
    QSignalSpy offered(&page, &SystemPage::saveAsOffered);

    QTest::mouseClick(button("ReadAll"), Qt::LeftButton);

    EXPECT_EQ(h.port.commands(), (QList<QByteArray>{"r0006", "d00020005", "r0001", "r0006", "d00070010"}));
    EXPECT_EQ(offered.count(), 3);
    EXPECT_EQ(edit(E::Phs_run)->text(), QStringLiteral("20"));
    EXPECT_EQ(edit(E::Cont_time)->text(), QStringLiteral("45"));
    EXPECT_EQ(edit(E::msg1)->text(), QStringLiteral("to Corvalen     "));
    EXPECT_EQ(edit(E::code_g2)->text(), QStringLiteral("56"));
    EXPECT_EQ(edit(E::spd3)->text(), QStringLiteral("*12#p3"));
    EXPECT_TRUE(check(K::rly2key)->isChecked() && check(K::rly2tim)->isChecked() && check(K::rly2tim)->isEnabled());
    EXPECT_TRUE(check(K::opt936)->isChecked());
    EXPECT_FALSE(check(K::RadioButton1)->isChecked());
    EXPECT_TRUE(check(K::GlobalCode)->isChecked());
    EXPECT_TRUE(shown("Label31"));
    EXPECT_FALSE(shown("Label47"));
}

TEST_F(SystemPageTest, WriteButtonsRunTheirGroupsWithWhatWasTyped)
{
    goOnline();
    edit(E::code_sd1)->clear();
    QTest::keyClicks(edit(E::code_sd1), "4321");
    button("WriteCode")->click();
    EXPECT_EQ(panel.records["0006"], QByteArray(16, '\xFF') + "4321" + QByteArray(12, '\xFF'));
    EXPECT_EQ(h.port.commands().last(), QByteArray("u"));

    h.prompt.answers = {false};
    h.port.clearLog();
    button("WriteAll")->click();
    EXPECT_EQ(h.prompt.questions.last(), QStringLiteral("ReWrite all Messages && Operating Parameters?"));
    EXPECT_TRUE(h.port.commands().isEmpty());
}

TEST_F(SystemPageTest, ReadAndWriteButtonsHaveDistinctAccessibleNamesAndEditsTheirLabels)
{
    QSet<QString> names;
    int shared = 0;
    for (QPushButton *b : page.findChildren<QPushButton *>()) {
        const QString name = accessibleText(b, QAccessible::Name);
        EXPECT_FALSE(name.isEmpty()) << b->objectName().toStdString();
        EXPECT_TRUE(name.startsWith(b->text())) << name.toStdString();
        names << name;
        if (b->text() == QLatin1String("Read") || b->text() == QLatin1String("Write"))
            ++shared;
    }
    EXPECT_EQ(shared, 10);
    EXPECT_EQ(names.size(), page.findChildren<QPushButton *>().size());

    // Tab by tab, as a reader meets them: every page is read by its tab's
    // caption; every field is read by the label beside it, and no two
    // controls of a group by the same name; a hint shown on hovering is
    // also the control's description.
    for (int i = 0; i < tabs()->count(); ++i) {
        tabs()->setCurrentIndex(i);
        SCOPED_TRACE(tabs()->tabText(i).toStdString());
        EXPECT_EQ(accessibleText(tabs()->widget(i), QAccessible::Name), tabs()->tabText(i).remove(QLatin1Char('&')));
        EXPECT_EQ(listed(unnamedControls(page)), "");
        EXPECT_EQ(listed(sameNamedControls(page)), "");
        EXPECT_EQ(listed(editsNotNamedByTheirLabel(page)), "");
        for (QWidget *w : page.findChildren<QWidget *>()) {
            if (!w->isVisible() || w->toolTip().isEmpty() || qobject_cast<QLabel *>(w))
                continue;
            EXPECT_EQ(accessibleText(w, QAccessible::Description), w->toolTip()) << w->objectName().toStdString();
        }
    }
}

TEST_F(SystemPageTest, SaveAsThenOpenRoundTripsThePageThroughTheFile)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Gate.sys"));
    QList<QFileDialog::AcceptMode> asked;
    QByteArray capturedWhenAsked;
    page.setFileChooser([&](QFileDialog::AcceptMode mode) {
        asked << mode;
        capturedWhenAsked = model().fileRecord().text(45, 16);
        return file;
    });

    QTest::keyClicks(edit(E::msg0), "Hello");
    edit(E::Phs_run)->clear();
    QTest::keyClicks(edit(E::Phs_run), "100");
    check(K::rly2line)->click();
    check(K::rly2tim)->click();
    check(K::opt936)->click();
    page.saveAsParameterFile();
    EXPECT_EQ(capturedWhenAsked, QByteArray("Hello")); // collected before the dialog
    EXPECT_EQ(QFile(file).size(), 467);

    edit(E::msg0)->clear();
    edit(E::Phs_run)->setText(QStringLiteral("7"));
    check(K::rly2off)->click();
    check(K::RadioButton1)->click();
    page.openParameterFile();

    EXPECT_EQ(asked, (QList<QFileDialog::AcceptMode>{QFileDialog::AcceptSave, QFileDialog::AcceptOpen}));
    EXPECT_TRUE(h.prompt.messages.isEmpty());
    EXPECT_EQ(edit(E::msg0)->text(), QStringLiteral("Hello"));
    EXPECT_EQ(edit(E::Phs_run)->text(), QStringLiteral("10")); // the file keeps two characters
    EXPECT_TRUE(check(K::rly2line)->isChecked() && check(K::rly2tim)->isChecked() && check(K::rly2tim)->isEnabled());
    EXPECT_TRUE(check(K::opt936)->isChecked());
    EXPECT_FALSE(check(K::RadioButton1)->isChecked());
    EXPECT_TRUE(shown("Label31"));
}

TEST_F(SystemPageTest, CancelledOrRefusedFileCommandsChangeNothing)
{
    QTemporaryDir dir;
    int asked = 0;
    QString answer;
    page.setFileChooser([&](QFileDialog::AcceptMode) {
        ++asked;
        return answer;
    });
    model().setText(E::msg0, "Keep");
    page.openParameterFile(); // cancelled
    EXPECT_EQ(edit(E::msg0)->text(), QStringLiteral("Keep"));

    answer = dir.filePath(QStringLiteral("short.sys"));
    QFile shortFile(answer);
    ASSERT_TRUE(shortFile.open(QIODevice::WriteOnly));
    shortFile.write(QByteArray(466, '\0'));
    shortFile.close();
    page.openParameterFile();
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("Could not Load from file\r\n") + answer});
    EXPECT_EQ(edit(E::msg0)->text(), QStringLiteral("Keep"));
    EXPECT_EQ(asked, 2);

    // No dialog while an exchange waits: it would hold up the wait.
    {
        ExchangeGuard::Scope busy(h.guard);
        page.openParameterFile();
        page.saveAsParameterFile();
    }
    EXPECT_EQ(asked, 2);
}

TEST(ParameterFileDialogTest, BothDialogsOfferTheParameterFilterSuffixAndName)
{
    for (QFileDialog::AcceptMode mode : {QFileDialog::AcceptOpen, QFileDialog::AcceptSave}) {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        ParameterFileDialog::prepare(dialog, mode);
        EXPECT_EQ(dialog.acceptMode(), mode);
        EXPECT_EQ(dialog.nameFilters(), (QStringList{"CorvalenParameters(*.sys)", "All Files (*)"}));
        EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("Sys"));
        EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
        ASSERT_FALSE(dialog.selectedFiles().isEmpty());
        // The proposed name gets the default suffix, as a typed name would.
        EXPECT_TRUE(dialog.selectedFiles().constFirst().endsWith(QStringLiteral("/SysPara.Sys")));
    }
}
