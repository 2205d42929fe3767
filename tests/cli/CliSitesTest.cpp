// corvalen-cli with the site book: the sites commands, and a run inside a
// site (--site NAME) on the virtual panel: its address, its PIN, its folder
// for backups, and what the run learned back in the book.
#include "CliHarness.h"
#include "backup/BackupName.h"
#include "backup/BackupStore.h"
#include "sites/PinFile.h"
#include "sites/SiteBook.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

struct CliSites : CliOnPanel
{
    QString book = path("config/sites.txt");

    int sites(QStringList args)
    {
        console.outText.clear();
        console.errText.clear();
        CliRunner runner(port, devices, waiter, console, env);
        runner.setSiteBook(book);
        return runner.run(args);
    }
    QString err() const { return QString::fromLocal8Bit(console.errText); }
    Site site(const char *name) const
    {
        SiteBook b(book);
        EXPECT_TRUE(b.load());
        return b.byName(QLatin1String(name)).value_or(Site());
    }
    void addSite(const char *name, const char *folder)
    {
        ASSERT_EQ(sites({"sites", "add", name, "--port", "tcp://127.0.0.1:4001", "--folder", path(folder)}), 0)
            << err().toStdString();
    }
};

} // namespace

TEST_F(CliSites, AddListShowEditAndRemoveKeepTheBookAndTheFolder)
{
    ASSERT_EQ(sites({"sites", "add", "12 Harbour Street, gate 2", "--port", "com3", "--notes", "Key at the caretaker"}), 0)
        << err().toStdString();
    addSite("Mill Lane", "mill");
    ASSERT_EQ(sites({"sites", "list", "--json"}), 0);
    const QJsonArray all = QJsonDocument::fromJson(console.outText).array();
    ASSERT_EQ(all.size(), 2);
    const QJsonObject harbour = all.at(0).toObject();
    EXPECT_EQ(harbour.value("name").toString(), "12 Harbour Street, gate 2");
    EXPECT_EQ(harbour.value("port").toString(), "COM3"); // written as the book keeps it
    for (const char *key : {"model", "last_contact", "last_backup"})
        EXPECT_TRUE(harbour.contains(QLatin1String(key)) && harbour.value(QLatin1String(key)).isNull()) << key;

    ASSERT_EQ(sites({"sites", "edit", "mill lane", "--name", "Mill Lane North", "--notes", "Side door"}), 0) << err().toStdString();
    ASSERT_EQ(sites({"sites", "show", "Mill Lane North", "--json"}), 0) << err().toStdString();
    const QJsonObject mill = QJsonDocument::fromJson(console.outText).object();
    EXPECT_EQ(mill.value("notes").toString(), "Side door");
    EXPECT_EQ(mill.value("port").toString(), "tcp://127.0.0.1:4001");
    ASSERT_EQ(sites({"sites", "show", "Mill Lane North"}), 0);
    EXPECT_TRUE(console.outText.contains("Last backup:  never")) << console.outText.constData();

    QDir().mkpath(path("mill"));
    write(path("mill/gate.csv"), "kept");
    ASSERT_EQ(sites({"sites", "remove", "Mill Lane North"}), 0) << err().toStdString();
    EXPECT_FALSE(SiteBook(book).byName(QStringLiteral("Mill Lane North")));
    EXPECT_EQ(read(path("mill/gate.csv")), "kept");
    ASSERT_EQ(sites({"sites", "list"}), 0);
    EXPECT_TRUE(console.outText.startsWith("Name")) << console.outText.constData();
    EXPECT_TRUE(console.outText.contains("12 Harbour Street, gate 2  COM3")) << console.outText.constData();
    EXPECT_FALSE(console.outText.contains("Mill"));
}

TEST_F(CliSites, UsageErrorsAndUnknownSitesExitTwoAndChangeNothing)
{
    addSite("12 Harbour Street, gate 2", "harbour");
    const QByteArray before = read(book);
    const QList<QStringList> wrong = {
        {"sites"},
        {"sites", "fly"},
        {"sites", "add", "No Address"},
        {"sites", "add", "Bad", "--port", "COM9"},
        {"sites", "add", "12 harbour street,  gate 2", "--port", "COM1"}, // the same name
        {"sites", "add", "A", "B", "--port", "COM1"},
        {"sites", "list", "extra"},
        {"sites", "show"},
        {"sites", "edit", "12 Harbour Street, gate 2"},
        {"sites", "edit", "12 Harbour Street, gate 2", "--port", "lpt1"},
        {"sites", "remove", "12 Harbour Street, gate 2", "--json"},
        {"sites", "list", "--forget"},
        {"sites", "show", "Harbor Street 12"},
        {"--site", "Harbor Street", "identify"},
        {"--site", "12 Harbour Street, gate 2", "--port", "COM1", "identify"},
    };
    for (const QStringList &args : wrong) {
        EXPECT_EQ(sites(args), 2) << args.join(' ').toStdString();
        EXPECT_FALSE(console.errText.isEmpty()) << args.join(' ').toStdString();
    }
    EXPECT_EQ(read(book), before);
    EXPECT_TRUE(port.commands().isEmpty()); // no panel was tried

    EXPECT_EQ(sites({"--site", "harbour street", "--json", "identify"}), 2);
    EXPECT_TRUE(err().contains("did you mean: 12 Harbour Street, gate 2?")) << err().toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(console.outText).object().value("result").toString(), "usage");
}

// A damaged book is told with its line and never written over.
TEST_F(CliSites, ADamagedBookIsReportedAndLeftAsItIs)
{
    addSite("Mill Lane", "mill");
    QByteArray text = read(book);
    text.replace("address", "adress");
    write(book, text);
    EXPECT_EQ(sites({"sites", "add", "Other", "--port", "COM1"}), 1);
    EXPECT_TRUE(err().contains("line")) << err().toStdString();
    EXPECT_EQ(sites({"--site", "Mill Lane", "--json", "identify"}), 1);
    EXPECT_EQ(QJsonDocument::fromJson(console.outText).object().value("result").toString(), "refused");
    EXPECT_TRUE(port.commands().isEmpty());
    EXPECT_EQ(read(book), text);
}

// Inside a site the run takes the site's PIN, saves its backup in the
// site's folder under the site's name, and tells the book what it learned.
TEST_F(CliSites, ARunInsideASiteUsesItsPinFolderAndRecordsWhatItLearned)
{
    addSite("Mill Lane", "mill");
    env.remove(QStringLiteral("CORVALEN_PIN"));
    env.insert(QStringLiteral("CORVALEN_NEW_PIN"), QStringLiteral("1234"));
    ASSERT_EQ(sites({"sites", "pin", "Mill Lane", "--keep", "file"}), 0) << err().toStdString();
    const QString pinFile = path("mill/corvalen.pin");
    EXPECT_EQ(QFile(pinFile).permissions() & 0x0077, 0) << "others may read the PIN file";
    EXPECT_FALSE(read(book).contains("1234"));

    ASSERT_EQ(sites({"--site", "Mill Lane", "directory", "get", path("gate.csv")}), 0) << err().toStdString();
    EXPECT_TRUE(err().contains("PIN file")) << err().toStdString();
    EXPECT_TRUE(console.questions.isEmpty()); // nobody was asked
    Site mill = site("Mill Lane");
    EXPECT_EQ(mill.model, QStringLiteral("Corvalen_1000_Xarn"));
    EXPECT_FALSE(mill.lastContact.isNull());

    ASSERT_EQ(sites({"--site", "Mill Lane", "--json", "directory", "put", path("gate.csv")}), 0) << err().toStdString();
    const QJsonObject summary = QJsonDocument::fromJson(console.outText).object();
    EXPECT_EQ(summary.value("site").toString(), "Mill Lane");
    const QString backup = summary.value("backup").toString();
    EXPECT_EQ(QFileInfo(backup).absolutePath(), path("mill"));
    EXPECT_TRUE(QFileInfo(backup).fileName().contains("_Mill-Lane_Xarn1000_directory")) << backup.toStdString();
    EXPECT_EQ(read(backup).count('\n') - 1, qsizetype(DemoData::residents().size()));
    mill = site("Mill Lane");
    EXPECT_EQ(mill.backupResult, Site::BackupResult::Ok);
    EXPECT_FALSE(mill.lastBackup.isNull());

    // CORVALEN_PIN and --pin-file win over the site's PIN.
    ASSERT_TRUE(PinFile::write(pinFile, "9999", nullptr));
    EXPECT_EQ(sites({"--site", "Mill Lane", "identify"}), 1); // the panel refuses the site's (wrong) PIN
    env.insert(QStringLiteral("CORVALEN_PIN"), QStringLiteral("1234"));
    EXPECT_EQ(sites({"--site", "Mill Lane", "identify"}), 0) << err().toStdString();
    env.remove(QStringLiteral("CORVALEN_PIN"));
    ASSERT_TRUE(PinFile::write(path("mine.pin"), "1234", nullptr));
    EXPECT_EQ(sites({"--site", "Mill Lane", "--pin-file", path("mine.pin"), "identify"}), 0) << err().toStdString();

    // A PIN file that others can read is refused with a warning, never used.
    QFile(pinFile).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    EXPECT_EQ(sites({"--site", "Mill Lane", "identify"}), 2); // no terminal to ask on
    EXPECT_TRUE(err().contains("Warning: ")) << err().toStdString();
    EXPECT_EQ(console.questions.size(), 1);

    // Forgotten: the file is gone.
    ASSERT_EQ(sites({"sites", "pin", "Mill Lane", "--forget"}), 0) << err().toStdString();
    EXPECT_FALSE(QFile::exists(pinFile));
}

// Outside any site everything stays as it was: the backup goes to the
// program's backups folder, without a site in its name.
TEST_F(CliSites, WithoutASiteBackupsStayWhereTheyWere)
{
    addSite("Mill Lane", "mill");
    ASSERT_EQ(sites({"directory", "get", path("gate.csv")}), 0) << err().toStdString();
    ASSERT_EQ(sites({"--json", "directory", "put", path("gate.csv")}), 0) << err().toStdString();
    const QJsonObject summary = QJsonDocument::fromJson(console.outText).object();
    EXPECT_TRUE(summary.value("site").isNull());
    const QString backup = summary.value("backup").toString();
    EXPECT_EQ(QFileInfo(backup).absolutePath(), QDir(BackupStore::defaultFolder()).absolutePath());
    EXPECT_TRUE(BackupName::parse(QFileInfo(backup).fileName())->site.isEmpty());
    EXPECT_FALSE(QDir(path("mill")).exists());
    EXPECT_TRUE(site("Mill Lane").lastContact.isNull());
    QFile::remove(backup);
}

TEST_F(CliSites, ExportAndImportCarryTheBookButNeverAPin)
{
    addSite("Mill Lane", "mill");
    ASSERT_EQ(sites({"sites", "edit", "Mill Lane", "--notes", "Gate, \"north\"\nsecond line"}), 0);
    ASSERT_EQ(sites({"sites", "export", path("book.csv")}), 0) << err().toStdString();
    const QByteArray csv = read(path("book.csv"));
    EXPECT_TRUE(csv.contains("Mill Lane")) << csv.constData();

    book = path("other/sites.txt");
    ASSERT_EQ(sites({"sites", "import", path("book.csv")}), 0) << err().toStdString();
    EXPECT_TRUE(err().contains("1 site")) << err().toStdString();
    const Site copy = site("Mill Lane");
    EXPECT_EQ(copy.notes, QStringLiteral("Gate, \"north\"\nsecond line"));
    EXPECT_EQ(copy.address, QStringLiteral("tcp://127.0.0.1:4001"));

    EXPECT_EQ(sites({"sites", "import", path("missing.csv")}), 1);
    write(path("bad.csv"), "Name,Address\r\nGood,COM1\r\nBad,COM9\r\n");
    EXPECT_EQ(sites({"sites", "import", path("bad.csv")}), 1);
    EXPECT_TRUE(err().contains("row 3")) << err().toStdString();
    EXPECT_TRUE(site("Good").address == QStringLiteral("COM1"));
}

// A backup put back by name: another model's is refused naming both models;
// another site's is asked about and, with nobody to say Yes, not written.
TEST_F(CliSites, ABackupOfAnotherModelOrSiteIsNotWrittenToThePanel)
{
    addSite("Mill Lane", "mill");
    ASSERT_EQ(sites({"directory", "get", path("gate.csv")}), 0) << err().toStdString();
    const QByteArray list = read(path("gate.csv"));
    const QByteArray before = memory();

    write(path("2026-12-08_143012_Mill-Lane_Xarn100_directory.csv"), list);
    EXPECT_EQ(sites({"--site", "Mill Lane", "directory", "put", path("2026-12-08_143012_Mill-Lane_Xarn100_directory.csv")}), 1);
    EXPECT_TRUE(err().contains("Corvalen 100 (Xarn100)") && err().contains("Corvalen 1000 (Xarn1000)")) << err().toStdString();

    write(path("2026-12-08_143012_Harbour_Xarn1000_directory.csv"), list);
    EXPECT_EQ(sites({"--site", "Mill Lane", "--quiet", "directory", "put", path("2026-12-08_143012_Harbour_Xarn1000_directory.csv")}), 1);
    EXPECT_TRUE(err().contains("another site (Harbour)") && err().contains("\"Mill Lane\"")) << err().toStdString();
    EXPECT_TRUE(err().contains("all the same? No")) << err().toStdString();
    EXPECT_EQ(commandsStartingWith('f'), 0); // nothing erased
    EXPECT_EQ(memory(), before);

    // The site's own backup, and any backup outside a site, go.
    write(path("2026-12-08_143012_mill-lane_Xarn1000_directory.csv"), list);
    EXPECT_EQ(sites({"--site", "Mill Lane", "--quiet", "directory", "put", path("2026-12-08_143012_mill-lane_Xarn1000_directory.csv")}), 0)
        << err().toStdString();
    EXPECT_EQ(sites({"--json", "--quiet", "directory", "put", path("2026-12-08_143012_Harbour_Xarn1000_directory.csv")}), 0)
        << err().toStdString();
    QFile::remove(QJsonDocument::fromJson(console.outText).object().value("backup").toString());
}

TEST_F(CliSites, HelpNamesTheSitesCommandsAndTheSiteOption)
{
    ASSERT_EQ(sites({"--help"}), 0);
    EXPECT_TRUE(console.outText.contains("--site NAME")) << console.outText.constData();
    EXPECT_TRUE(console.outText.contains("sites ACTION")) << console.outText.constData();
    for (const QStringList &args : {QStringList{"sites", "--help"}, QStringList{"help", "sites"}}) {
        ASSERT_EQ(sites(args), 0) << args.join(' ').toStdString();
        EXPECT_TRUE(console.outText.contains("sites pin NAME")) << console.outText.constData();
    }
    EXPECT_FALSE(QFile::exists(book)); // help writes no book
}
