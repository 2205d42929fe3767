// The window inside a site: its folder, port, caption, backups and PIN, the
// recent sites of the File menu, what a log-on and a backup write into the
// book, and the one-time offer to make an old working folder a site.
#include "FormHarness.h"

#include "app/widgets/FrameActions.h"
#include "app/widgets/FrameSites.h"
#include "backup/BackupMatch.h"
#include "backup/BackupStore.h"
#include "backup/PanelBackups.h"
#include "directory/PhoneListFile.h"
#include "link/LogOnDetails.h"
#include "link/PanelModel.h"
#include "link/widgets/TEnterPin.h"
#include "sites/PinFile.h"
#include "sites/PinVault.h"
#include "sites/SiteBook.h"
#include "sites/widgets/SiteListModel.h"
#include "sites/widgets/SitesDialog.h"
#include "support/Screenshot.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QMenu>
#include <QSettings>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct SitesHarness : FormHarness
{
    QString bookFile = dir.filePath(QStringLiteral("config/sites.txt"));
    QString settingsFile = dir.filePath(QStringLiteral("config/corvalen-pro.conf"));
    SiteBook book{bookFile};

    Site add(const QString &name, const QString &address, Site::PinKeeping keeping = Site::PinKeeping::Keyring)
    {
        Site site;
        site.name = name;
        site.address = address;
        site.folder = dir.filePath(name.left(4).trimmed());
        site.pinKeeping = keeping;
        const std::optional<Site> added = book.add(site);
        EXPECT_TRUE(added);
        return added.value_or(site);
    }

    void enable()
    {
        form.enableBackups(dir.filePath(QStringLiteral("backups")));
        form.sites().enable(bookFile, settingsFile, 1000);
    }

    QString fileText(const QString &path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
    }
};

} // namespace

TEST(FrameSitesTest, OpeningASiteMovesFolderPortBackupsAndCaptionAndTheNextSiteGetsNoneOfIt)
{
    SitesHarness h;
    const Site gate = h.add(QStringLiteral("Gate 3"), QStringLiteral("COM3"));
    const Site mill = h.add(QStringLiteral("Mill Lane"), QStringLiteral("tcp://127.0.0.1:4001"));
    h.enable();
    FrameSites &sites = h.form.sites();
    const QString startDevice = h.devices.device(3);

    ASSERT_TRUE(sites.openSite(gate));
    EXPECT_EQ(QDir::currentPath(), QDir(gate.folder).absolutePath());
    // A Save writes the site's phone list, not the one of the folder before.
    EXPECT_EQ(QFileInfo(h.form.context().directory.DBFiles()).absolutePath(), QDir(gate.folder).absolutePath());
    EXPECT_EQ(h.form.portChoice().checkedItem(), 3);
    EXPECT_EQ(h.form.windowTitle(), StartCaption() + QStringLiteral(" - Gate 3"));
    EXPECT_EQ(h.form.backups()->store().folder(), gate.folder);
    EXPECT_EQ(h.form.backups()->store().siteName(), QStringLiteral("Gate 3"));

    // A network address stands in for the port chosen, for this run only.
    ASSERT_TRUE(sites.openSite(mill));
    EXPECT_EQ(QDir::currentPath(), QDir(mill.folder).absolutePath());
    EXPECT_EQ(h.form.portChoice().checkedItem(), 3);
    EXPECT_EQ(h.devices.device(3), QStringLiteral("tcp://127.0.0.1:4001"));
    EXPECT_EQ(h.form.windowTitle(), StartCaption() + QStringLiteral(" - Mill Lane"));
    EXPECT_EQ(h.form.backups()->store().siteName(), QStringLiteral("Mill Lane"));

    // Back on the site that is COM3 itself: it must not talk to the other
    // building's serial server.
    ASSERT_TRUE(sites.openSite(gate));
    EXPECT_EQ(h.devices.device(3), startDevice);

    // The log-on keeps the model's caption and the site's name, and what it
    // learned goes into the book.
    h.logOn();
    ASSERT_TRUE(h.form.connection().loggedOn());
    EXPECT_EQ(h.form.windowTitle(), h.form.connection().caption() + QStringLiteral(" - Gate 3"));
    EXPECT_NE(h.form.connection().caption(), StartCaption());
    SiteBook reread(h.bookFile);
    ASSERT_TRUE(reread.load());
    const Site learned = *reread.byId(gate.id);
    EXPECT_FALSE(learned.model.isEmpty());
    EXPECT_TRUE(learned.lastContact.isValid());

    // No other building while this one is on the line.
    EXPECT_FALSE(sites.openSite(mill));
    EXPECT_EQ(QDir::currentPath(), QDir(gate.folder).absolutePath());
    EXPECT_EQ(h.form.windowTitle(), h.form.connection().caption() + QStringLiteral(" - Gate 3"));
    ASSERT_FALSE(h.prompt.messages.isEmpty());
    EXPECT_TRUE(h.prompt.messages.last().contains(QStringLiteral("Go offline")));

    // A backup taken (or failed) is the site's last backup.
    emit h.form.backups()->backupKept(false, QStringLiteral("disk full"));
    ASSERT_TRUE(reread.load());
    EXPECT_EQ(reread.byId(gate.id)->backupResult, Site::BackupResult::Failed);
    EXPECT_EQ(reread.byId(gate.id)->backupMessage, QStringLiteral("disk full"));
    EXPECT_EQ(reread.byId(mill.id)->backupResult, Site::BackupResult::None);
}

TEST(FrameSitesTest, TheFileMenuListsTheSitesOpenedLastAndOpensThemFromTheBookAsItIsNow)
{
    SitesHarness h;
    const Site gate = h.add(QStringLiteral("Gate 3"), QStringLiteral("COM3"));
    Site smith = h.add(QStringLiteral("Smith & Sons"), QStringLiteral("COM1"));
    h.enable();
    FrameSites &sites = h.form.sites();
    EXPECT_TRUE(sites.recentItems().isEmpty());
    EXPECT_TRUE(h.form.actions().File1->actions().contains(sites.sitesItem()));
    EXPECT_EQ(sites.sitesItem()->text(), QStringLiteral("S&ites..."));

    ASSERT_TRUE(sites.openSite(gate));
    ASSERT_TRUE(sites.openSite(smith));
    ASSERT_EQ(sites.recentItems().size(), 2);
    EXPECT_EQ(sites.recentItems()[0]->text(), QStringLiteral("&1 Smith && Sons"));
    EXPECT_EQ(sites.recentItems()[1]->text(), QStringLiteral("&2 Gate 3"));
    for (QAction *item : sites.recentItems())
        EXPECT_TRUE(h.form.actions().File1->actions().contains(item));

    // Another program moved the site's panel: the menu opens it as the book has it now.
    SiteBook other(h.bookFile);
    ASSERT_TRUE(other.load());
    Site moved = *other.byId(gate.id);
    moved.address = QStringLiteral("COM4");
    ASSERT_TRUE(other.update(moved));
    sites.recentItems()[1]->trigger();
    EXPECT_EQ(sites.openedSite()->id, gate.id);
    EXPECT_EQ(h.form.portChoice().checkedItem(), 4);
    ASSERT_EQ(sites.recentItems().size(), 2);
    EXPECT_EQ(sites.recentItems()[0]->text(), QStringLiteral("&1 Gate 3"));
    EXPECT_EQ(h.form.actions().File1->actions().count(sites.recentItems()[0]), 1);
}

TEST(FrameSitesTest, TheLogOnDialogOfASiteTakesItsPinFromTheSiteAndTheDetailsFileKeepsNone)
{
    SitesHarness h;
    const Site mill = h.add(QStringLiteral("Mill Lane"), QStringLiteral("COM1"), Site::PinKeeping::PinFile);
    PinVault vault(1000);
    ASSERT_TRUE(vault.store(mill, "2468").ok);
    h.enable();
    TEnterPin dialog(h.form.portChoice(), h.prompt);
    h.form.sites().setPinDialog(&dialog);

    // Without a site the details file holds the PIN, as it always did.
    QString offered;
    const auto answer = [&](const QString &typed) {
        QTimer::singleShot(0, &dialog, [&dialog, &offered, typed] {
            offered = dialog.CorvalenPin->text();
            dialog.CorvalenPin->setText(typed);
            dialog.StrDetail->setChecked(true);
            dialog.Button1Click();
        });
        return dialog.askPin();
    };
    EXPECT_EQ(answer(QStringLiteral("1111")), std::optional<QByteArray>("1111"));
    LogOnDetails details;
    ASSERT_TRUE(LogOnDetails::read(h.dir.filePath(QLatin1String(LogOnDetails::kFileName)), &details));
    EXPECT_EQ(details.pin, QByteArray("1111"));

    ASSERT_TRUE(h.form.sites().openSite(mill));
    EXPECT_EQ(answer(QStringLiteral("1357")), std::optional<QByteArray>("1357"));
    EXPECT_EQ(offered, QStringLiteral("2468")); // from the site's PIN file, not the old details
    const QString siteDetails = QDir(mill.folder).filePath(QLatin1String(LogOnDetails::kFileName));
    ASSERT_EQ(QFile(siteDetails).size(), LogOnDetails::kSize);
    ASSERT_TRUE(LogOnDetails::read(siteDetails, &details));
    EXPECT_TRUE(details.pin.isEmpty());
    EXPECT_TRUE(details.rememberDetails);
    EXPECT_EQ(details.portNumber, 1);
    const PinVault::Result kept = vault.read(mill);
    ASSERT_TRUE(kept.ok);
    EXPECT_EQ(kept.pin, QByteArray("1357"));
    // The folder outside the site keeps its own PIN.
    ASSERT_TRUE(LogOnDetails::read(h.dir.filePath(QLatin1String(LogOnDetails::kFileName)), &details));
    EXPECT_EQ(details.pin, QByteArray("1111"));
}

TEST(FrameSitesTest, AnOldWorkingFolderIsOfferedAsASiteOnceAndADamagedBookIsLeftAlone)
{
    {
        // An old working folder: its details file names COM4.
        SitesHarness h;
        LogOnDetails old;
        old.pin = "9999";
        old.portNumber = 4;
        ASSERT_TRUE(old.write(QLatin1String(LogOnDetails::kFileName), nullptr));
        h.enable();
        h.prompt.answers << true;
        ASSERT_TRUE(h.form.sites().offerFirstSite());
        ASSERT_EQ(h.prompt.questions.size(), 1);
        SiteBook book(h.bookFile);
        ASSERT_TRUE(book.load());
        ASSERT_EQ(book.sites().size(), 1);
        EXPECT_EQ(QDir(book.sites()[0].folder).absolutePath(), QDir(h.dir.path()).absolutePath());
        EXPECT_EQ(book.sites()[0].address, QStringLiteral("COM4"));
        EXPECT_EQ(h.form.sites().openedSite()->id, book.sites()[0].id);
        EXPECT_EQ(h.form.portChoice().checkedItem(), 4);

        // Removed again: not offered a second time, ever.
        ASSERT_TRUE(book.remove(book.sites()[0].id));
        EXPECT_FALSE(h.form.sites().offerFirstSite());
        EXPECT_EQ(h.prompt.questions.size(), 1);
        EXPECT_TRUE(QSettings(h.settingsFile, QSettings::IniFormat).value(FrameSites::kOfferedKey).toBool());
    }
    {
        // A folder the program never worked in is not offered, and No is remembered too.
        SitesHarness h;
        h.enable();
        EXPECT_FALSE(h.form.sites().offerFirstSite());
        EXPECT_TRUE(h.prompt.questions.isEmpty());
        QFile(QLatin1String(PhoneListFile::kDefaultName)).open(QIODevice::WriteOnly);
        h.prompt.answers << false;
        EXPECT_FALSE(h.form.sites().offerFirstSite());
        EXPECT_FALSE(h.form.sites().offerFirstSite());
        EXPECT_EQ(h.prompt.questions.size(), 1);
        EXPECT_FALSE(QFile::exists(h.bookFile));
    }
    {
        // A book with a mistake holds no sites, but it is not empty: told
        // with its line, never offered over, never written.
        SitesHarness h;
        ASSERT_TRUE(QDir().mkpath(QFileInfo(h.bookFile).absolutePath()));
        QFile file(h.bookFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("this is no site book\n[site\n");
        file.close();
        const QString before = h.fileText(h.bookFile);
        ASSERT_TRUE(QFile(QLatin1String(PhoneListFile::kDefaultName)).open(QIODevice::WriteOnly));
        h.enable();
        ASSERT_FALSE(h.prompt.messages.isEmpty());
        EXPECT_TRUE(h.prompt.messages.first().contains(QStringLiteral("line")));
        EXPECT_FALSE(h.form.sites().offerFirstSite());
        EXPECT_TRUE(h.prompt.questions.isEmpty());
        EXPECT_EQ(h.fileText(h.bookFile), before);
    }
}

TEST(FrameSitesTest, OpenInPageAsksAboutAnotherSitesBackupAndRefusesAnotherModelsOnline)
{
    SitesHarness h;
    const Site gate = h.add(QStringLiteral("Gate 3"), QStringLiteral("COM3"));
    h.enable();
    ASSERT_TRUE(h.form.sites().openSite(gate));
    BackupStore elsewhere(gate.folder);
    elsewhere.setSite(QStringLiteral("Mill Lane"));
    const BackupStore::Saved saved =
        elsewhere.save(BackupKind::Directory, QStringLiteral("Xarn100"), {{QStringLiteral("csv"), "Name,Addr\r\n"}}, 0);
    ASSERT_TRUE(saved.entry) << saved.error.toStdString();

    // Offline: only the site is asked about, No keeps the page as it is.
    h.prompt.answers << false;
    EXPECT_FALSE(h.form.openBackup(*saved.entry));
    ASSERT_EQ(h.prompt.questions.size(), 1);
    EXPECT_TRUE(h.prompt.questions[0].contains(QStringLiteral("Mill-Lane"))); // the site as the backup's name carries it
    EXPECT_TRUE(h.prompt.questions[0].contains(QStringLiteral("Gate 3")));

    // Logged on to another model: refused without a question.
    h.logOn();
    ASSERT_TRUE(h.form.connection().loggedOn());
    ASSERT_NE(BackupName::modelToken(h.form.link().conn().DirectoryEnd), QStringLiteral("Xarn100"));
    h.prompt.messages.clear();
    EXPECT_FALSE(h.form.openBackup(*saved.entry));
    EXPECT_EQ(h.prompt.questions.size(), 1);
    ASSERT_EQ(h.prompt.messages.size(), 1);
    EXPECT_TRUE(h.prompt.messages[0].contains(BackupMatch::modelText(QStringLiteral("Xarn100"))));
}

TEST(FrameSitesTest, SitesInTheFileMenuShowsTheBookAndOpensTheChosenSite)
{
    SitesHarness h;
    h.add(QStringLiteral("Gate 3"), QStringLiteral("COM3"));
    const Site mill = h.add(QStringLiteral("Mill Lane"), QStringLiteral("tcp://127.0.0.1:4001"));
    h.enable();
    bool shown = false;
    QTimer::singleShot(0, &h.form, [&] {
        auto *dialog = qobject_cast<SitesDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        shown = true;
        EXPECT_EQ(dialog->model()->rowCount(), 2);
        dialog->choose(mill.id);
        saveScreenshot(*dialog, QStringLiteral("sites-dialog"));
        QPushButton *open = nullptr;
        for (QPushButton *button : dialog->findChildren<QPushButton *>())
            if (button->text() == QStringLiteral("Open"))
                open = button;
        ASSERT_NE(open, nullptr);
        open->click();
    });
    h.form.sites().sitesItem()->trigger();
    EXPECT_TRUE(shown);
    ASSERT_TRUE(h.form.sites().openedSite());
    EXPECT_EQ(h.form.sites().openedSite()->id, mill.id);
    EXPECT_EQ(h.form.windowTitle(), StartCaption() + QStringLiteral(" - Mill Lane"));
    EXPECT_EQ(QDir::currentPath(), QDir(mill.folder).absolutePath());
    ASSERT_EQ(h.form.sites().recentItems().size(), 1);

    h.form.resize(h.form.sizeHint());
    saveScreenshot(h.form, QStringLiteral("window-in-site"));
    h.form.actions().File1->popup(QPoint(0, 0));
    saveScreenshot(*h.form.actions().File1, QStringLiteral("file-menu-recent-sites"));
    h.form.actions().File1->hide();
}
