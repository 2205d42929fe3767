// File > "Sites..." and the site editor, driven as a user would: filter,
// new, edit, remove, open; a failed backup that stands out; a damaged book.
#include "sites/PinVault.h"
#include "sites/SiteBook.h"
#include "sites/widgets/SiteEditor.h"
#include "sites/widgets/SiteListModel.h"
#include "sites/widgets/SitesDialog.h"
#include "support/AccessibleNames.h"
#include "support/Recorders.h"
#include "support/Screenshot.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

QPushButton *button(QWidget &root, const QString &caption)
{
    for (QPushButton *b : root.findChildren<QPushButton *>())
        if (b->text() == caption)
            return b;
    return nullptr;
}

// Runs act on the next modal dialog of type T, once it is up.
template<typename T>
void whenShown(std::function<void(T &)> act)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        if (T *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(*dialog);
        }
    });
    poll->start(5);
}

struct SitesWindow : ::testing::Test
{
    QTemporaryDir dir;
    QString base = dir.filePath(QStringLiteral("sites"));
    SiteBook book{dir.filePath(QStringLiteral("sites.txt")), base};
    RecordingPrompt prompt;
    PinVault vault{1000};

    Site add(const QString &name, const QString &address, const QString &notes = {})
    {
        Site site;
        site.name = name;
        site.address = address;
        site.notes = notes;
        QString error;
        const std::optional<Site> added = book.add(site, &error);
        EXPECT_TRUE(added) << qPrintable(error);
        return added.value_or(Site{});
    }
    QStringList shownNames(SitesDialog &dialog)
    {
        QStringList names;
        QAbstractItemModel *shown = dialog.view()->model();
        for (int r = 0; r < shown->rowCount(); ++r)
            names << shown->index(r, SiteListModel::Name).data().toString();
        return names;
    }
};

TEST_F(SitesWindow, TheListIsSortedByNameAndTheFilterLooksIntoNotesToo)
{
    add(QStringLiteral("market hall"), QStringLiteral("COM1"));
    add(QStringLiteral("Depot"), QStringLiteral("tcp://depot:4001"), QStringLiteral("Caretaker: Ann Baker"));
    add(QStringLiteral("12 Harbour Street, gate 2"), QStringLiteral("rfc2217://gate2:4001"));
    add(QStringLiteral("Ärztehaus"), QStringLiteral("COM2"));
    SitesDialog dialog(book, prompt, &vault);
    dialog.show();

    EXPECT_EQ(shownNames(dialog), (QStringList{QStringLiteral("12 Harbour Street, gate 2"), QStringLiteral("Ärztehaus"),
                                               QStringLiteral("Depot"), QStringLiteral("market hall")}));
    EXPECT_EQ(dialog.countLabel()->text(), QStringLiteral("4 sites"));
    dialog.filterEdit()->setText(QStringLiteral("ann baker"));
    EXPECT_EQ(shownNames(dialog), QStringList{QStringLiteral("Depot")});
    EXPECT_EQ(dialog.countLabel()->text(), QStringLiteral("1 of 4 sites"));
    EXPECT_EQ(dialog.chosen()->name, QStringLiteral("Depot"));
    dialog.filterEdit()->setText(QStringLiteral("4001"));
    EXPECT_EQ(shownNames(dialog).size(), 2);
    dialog.filterEdit()->setText(QStringLiteral("nowhere"));
    EXPECT_FALSE(dialog.chosen());
    EXPECT_FALSE(button(dialog, QStringLiteral("Open"))->isEnabled());
    EXPECT_FALSE(button(dialog, QStringLiteral("Edit..."))->isEnabled());
}

TEST_F(SitesWindow, AFailedLastBackupStandsOutInTextColourAndIcon)
{
    const QDateTime night(QDate(2024, 5, 2), QTime(2, 0, 4), QTimeZone::utc());
    const Site good = add(QStringLiteral("Good"), QStringLiteral("COM1"));
    const Site bad = add(QStringLiteral("Bad"), QStringLiteral("COM2"));
    add(QStringLiteral("Never"), QStringLiteral("COM3"));
    ASSERT_TRUE(book.recordBackup(good.id, night, true, {}));
    ASSERT_TRUE(book.recordBackup(bad.id, night, false, QStringLiteral("No Reponse from Corvalen")));
    SitesDialog dialog(book, prompt);
    dialog.show();
    saveScreenshot(dialog, QStringLiteral("sites-dialog"));

    QAbstractItemModel *shown = dialog.view()->model();
    auto cell = [&](const QString &name) {
        for (int r = 0; r < shown->rowCount(); ++r)
            if (shown->index(r, SiteListModel::Name).data().toString() == name)
                return shown->index(r, SiteListModel::LastBackup);
        return QModelIndex();
    };
    const QString when = night.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    EXPECT_EQ(cell(QStringLiteral("Good")).data().toString(), when + QStringLiteral("  ok"));
    EXPECT_EQ(cell(QStringLiteral("Bad")).data().toString(), when + QStringLiteral("  FAILED"));
    EXPECT_EQ(cell(QStringLiteral("Never")).data().toString(), QString());
    EXPECT_NE(cell(QStringLiteral("Bad")).data(Qt::ForegroundRole), cell(QStringLiteral("Good")).data(Qt::ForegroundRole));
    EXPECT_TRUE(cell(QStringLiteral("Bad")).data(Qt::DecorationRole).isValid());
    EXPECT_FALSE(cell(QStringLiteral("Good")).data(Qt::DecorationRole).isValid());
    EXPECT_EQ(cell(QStringLiteral("Bad")).data(Qt::ToolTipRole).toString(), QStringLiteral("No Reponse from Corvalen"));
    EXPECT_TRUE(cell(QStringLiteral("Bad")).data(Qt::AccessibleTextRole).toString().endsWith(
        QLatin1String("FAILED: No Reponse from Corvalen")));

    // Sorted by the last backup, the sites never backed up come first.
    dialog.view()->sortByColumn(SiteListModel::LastBackup, Qt::AscendingOrder);
    EXPECT_EQ(shownNames(dialog).first(), QStringLiteral("Never"));
}

TEST_F(SitesWindow, NewSiteFromTheEditorWithItsFolderFollowingTheName)
{
    add(QStringLiteral("Depot"), QStringLiteral("COM1"));
    SitesDialog dialog(book, prompt);
    dialog.show();
    QStringList problems;
    whenShown<SiteEditor>([&](SiteEditor &editor) {
        EXPECT_TRUE(unnamedControls(editor).isEmpty()) << qPrintable(unnamedControls(editor).join(QLatin1Char(',')));
        saveScreenshot(editor, QStringLiteral("site-editor"));
        editor.nameEdit()->setText(QStringLiteral("depot"));
        editor.addressBox()->setCurrentText(QStringLiteral("COM9"));
        editor.accept();
        problems << editor.problemLabel()->text();
        editor.nameEdit()->setText(QStringLiteral("North/South gate"));
        editor.accept();
        problems << editor.problemLabel()->text();
        EXPECT_EQ(editor.folderEdit()->text(), base + QStringLiteral("/North-South gate"));
        editor.addressBox()->setCurrentText(QStringLiteral("tcp://gate.example:4001"));
        editor.notesEdit()->setPlainText(QStringLiteral("Key safe by the door"));
        editor.keepingButton(Site::PinKeeping::PinFile)->setChecked(true);
        EXPECT_EQ(editor.pinFileEdit()->placeholderText(), base + QStringLiteral("/North-South gate/corvalen.pin"));
        editor.accept();
    });
    button(dialog, QStringLiteral("New..."))->click();

    ASSERT_EQ(problems.size(), 2);
    EXPECT_EQ(problems.at(0), QStringLiteral("There is already a site named \"Depot\""));
    EXPECT_EQ(problems.at(1), QStringLiteral("\"COM9\": the ports are COM1 to COM4"));
    const std::optional<Site> site = book.byName(QStringLiteral("North/South gate"));
    ASSERT_TRUE(site);
    EXPECT_EQ(site->address, QStringLiteral("tcp://gate.example:4001"));
    EXPECT_EQ(site->notes, QStringLiteral("Key safe by the door"));
    EXPECT_EQ(site->folder, base + QStringLiteral("/North-South gate"));
    EXPECT_EQ(site->pinKeeping, Site::PinKeeping::PinFile);
    EXPECT_EQ(dialog.chosen()->id, site->id);
    EXPECT_TRUE(prompt.messages.isEmpty()) << qPrintable(prompt.messages.join(QLatin1Char('\n')));
}

TEST_F(SitesWindow, EditingHowThePinIsKeptForgetsTheOldCopy)
{
    Site site = add(QStringLiteral("Gate"), QStringLiteral("COM1"));
    site.pinKeeping = Site::PinKeeping::PinFile;
    ASSERT_TRUE(book.update(site));
    ASSERT_TRUE(vault.store(site, "4711").ok);
    ASSERT_TRUE(QFile::exists(site.pinFilePath()));

    SitesDialog dialog(book, prompt, &vault);
    dialog.show();
    whenShown<SiteEditor>([&](SiteEditor &editor) {
        EXPECT_EQ(editor.folderEdit()->text(), site.folder);
        editor.nameEdit()->setText(QStringLiteral("North gate"));
        EXPECT_EQ(editor.folderEdit()->text(), site.folder) << "an existing site's files stay where they are";
        editor.keepingButton(Site::PinKeeping::NotRemembered)->setChecked(true);
        editor.accept();
    });
    button(dialog, QStringLiteral("Edit..."))->click();

    const Site after = *book.byId(site.id);
    EXPECT_EQ(after.name, QStringLiteral("North gate"));
    EXPECT_EQ(after.pinKeeping, Site::PinKeeping::NotRemembered);
    EXPECT_FALSE(QFile::exists(site.pinFilePath())) << "a PIN nobody means to keep any more is gone";
}

TEST_F(SitesWindow, RemoveAsksAndKeepsTheFolder)
{
    const Site gate = add(QStringLiteral("Gate"), QStringLiteral("COM1"));
    QDir().mkpath(gate.folder);
    QFile phoneList(gate.folder + QStringLiteral("/CorvalenPhList.csv"));
    ASSERT_TRUE(phoneList.open(QIODevice::WriteOnly));
    phoneList.close();
    SitesDialog dialog(book, prompt, &vault);
    dialog.show();

    prompt.answers = {false};
    button(dialog, QStringLiteral("Remove..."))->click();
    ASSERT_EQ(prompt.questions.size(), 1);
    EXPECT_EQ(prompt.questions.first(),
              QStringLiteral("Remove the site \"Gate\" from the site book?\r\nIts folder %1 and the files in it stay "
                             "where they are.")
                  .arg(gate.folder));
    EXPECT_EQ(book.sites().size(), 1);

    prompt.answers = {true};
    button(dialog, QStringLiteral("Remove..."))->click();
    EXPECT_TRUE(book.sites().isEmpty());
    EXPECT_EQ(dialog.countLabel()->text(), QStringLiteral("0 sites"));
    EXPECT_TRUE(QFile::exists(gate.folder + QStringLiteral("/CorvalenPhList.csv")));
}

TEST_F(SitesWindow, OpenHandsTheChosenSiteOverAndCloses)
{
    add(QStringLiteral("Depot"), QStringLiteral("COM1"));
    const Site gate = add(QStringLiteral("Gate"), QStringLiteral("tcp://gate:4001"));
    SitesDialog dialog(book, prompt);
    QSignalSpy opened(&dialog, &SitesDialog::openRequested);
    dialog.show();
    dialog.choose(gate.id);
    button(dialog, QStringLiteral("Open"))->click();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.first().first().value<Site>().id, gate.id);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());

    // From the keyboard: type a part of the name, Return opens it, once.
    SitesDialog typed(book, prompt);
    QSignalSpy typedOpen(&typed, &SitesDialog::openRequested);
    typed.show();
    QApplication::setActiveWindow(&typed);
    QTest::keyClicks(typed.filterEdit(), QStringLiteral("gat"));
    QTest::keyClick(typed.filterEdit(), Qt::Key_Return);
    ASSERT_EQ(typedOpen.size(), 1);
    EXPECT_EQ(typedOpen.first().first().value<Site>().id, gate.id);

    SitesDialog fromGrid(book, prompt);
    QSignalSpy gridOpen(&fromGrid, &SitesDialog::openRequested);
    fromGrid.show();
    QApplication::setActiveWindow(&fromGrid);
    fromGrid.view()->setFocus();
    QTest::keyClick(fromGrid.view(), Qt::Key_Return);
    ASSERT_EQ(gridOpen.size(), 1);
    EXPECT_EQ(gridOpen.first().first().value<Site>().name, QStringLiteral("Depot"));

    // Where the desktop opens items on a single click, a click only chooses.
    struct SingleClickStyle : QProxyStyle
    {
        int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                      QStyleHintReturn *returned) const override
        {
            return hint == SH_ItemView_ActivateItemOnSingleClick ? 1
                                                                  : QProxyStyle::styleHint(hint, option, widget, returned);
        }
    } style;
    SitesDialog clicked(book, prompt);
    QSignalSpy clickOpen(&clicked, &SitesDialog::openRequested);
    clicked.view()->setStyle(&style);
    clicked.show();
    const QRect second = clicked.view()->visualRect(clicked.view()->model()->index(1, 0));
    QTest::mouseClick(clicked.view()->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(clickOpen.size(), 0);
    EXPECT_EQ(clicked.chosen()->id, gate.id);
    QTest::mouseDClick(clicked.view()->viewport(), Qt::LeftButton, {}, second.center());
    ASSERT_EQ(clickOpen.size(), 1);
    EXPECT_EQ(clickOpen.first().first().value<Site>().id, gate.id);
    clicked.view()->setStyle(nullptr);
}

TEST_F(SitesWindow, ADamagedBookShowsItsMistakesAndOffersNoChanges)
{
    QFile file(book.fileName());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[site]\nname = Gate\nadress = COM1\n");
    file.close();
    SitesDialog dialog(book, prompt);
    dialog.show();
    EXPECT_TRUE(dialog.damageLabel()->isVisible());
    EXPECT_TRUE(dialog.damageLabel()->text().contains(QLatin1String("line 3: unknown key \"adress\"")))
        << qPrintable(dialog.damageLabel()->text());
    for (const char *caption : {"New...", "Edit...", "Remove...", "Import...", "Export...", "Open"})
        EXPECT_FALSE(button(dialog, QLatin1String(caption))->isEnabled()) << caption;
}

TEST_F(SitesWindow, EveryControlHasANameAndTheModelKeepsItsContract)
{
    add(QStringLiteral("Gate"), QStringLiteral("COM1"));
    SitesDialog dialog(book, prompt);
    dialog.show();
    EXPECT_TRUE(unnamedControls(dialog).isEmpty()) << qPrintable(unnamedControls(dialog).join(QLatin1Char(',')));
    EXPECT_EQ(accessibleText(dialog.view(), QAccessible::Name), QStringLiteral("Sites"));
    EXPECT_EQ(accessibleText(dialog.filterEdit(), QAccessible::Name), QStringLiteral("Filter"));

    SiteEditor editor(Site{}, book.sites(), base);
    editor.show();
    QStringList browseGroups;
    for (QPushButton *b : editor.findChildren<QPushButton *>())
        if (b->text() == QLatin1String("Browse..."))
            browseGroups << qobject_cast<QGroupBox *>(b->parentWidget())->title();
    EXPECT_EQ(browseGroups, (QStringList{QStringLiteral("Files"), QStringLiteral("PIN")}));
    EXPECT_EQ(accessibleText(editor.addressBox(), QAccessible::Name), QStringLiteral("Address"));

    SiteListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    model.setSites(book.sites());
    model.setSites({});
}

} // namespace
