// The site book: what it keeps, how it reads a file a person wrote, and
// that it never saves over a book with a mistake.
#include "sites/SiteBook.h"
#include "sites/SiteBookFormat.h"
#include "sites/SiteJson.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

Site fullSite()
{
    Site site;
    site.name = QStringLiteral("12 Harbour Street, gate 2");
    site.address = QStringLiteral("rfc2217://[fe80::1]:4001");
    site.notes = QStringLiteral("Caretaker: Ann\\Bob, keys in C:\\new\nPanel behind\tthe left door");
    site.pinKeeping = Site::PinKeeping::PinFile;
    site.pinFile = QStringLiteral("/srv/pins/harbour.pin");
    site.model = QStringLiteral("Corvalen_500_Xarn");
    site.lastContact = QDateTime(QDate(2024, 5, 1), QTime(10, 22, 31), QTimeZone::utc());
    site.lastOpened = QDateTime(QDate(2024, 5, 1), QTime(10, 20, 0), QTimeZone::utc());
    site.lastBackup = QDateTime(QDate(2024, 5, 2), QTime(2, 0, 4), QTimeZone::utc());
    site.backupResult = Site::BackupResult::Failed;
    site.backupMessage = QStringLiteral(" No Reponse from Corvalen\x01 ");
    return site;
}

struct Book : ::testing::Test
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("config/sites.txt"));
    QString base = dir.filePath(QStringLiteral("documents/sites"));
    SiteBook book{path, base};

    Site added(Site site)
    {
        QString error;
        const std::optional<Site> saved = book.add(site, &error);
        EXPECT_TRUE(saved) << qPrintable(error);
        return saved.value_or(Site{});
    }
};

TEST_F(Book, EverythingItKeepsComesBackFromTheFileAndTheTextIsAFixedPoint)
{
    const Site harbour = added(fullSite());
    Site plain;
    plain.name = QStringLiteral("Müllerstraße 4");
    plain.address = QStringLiteral("com3");
    plain.folder = dir.filePath(QStringLiteral("elsewhere/../chosen"));
    const Site mueller = added(plain);
    Site device;
    device.name = QStringLiteral("Depot");
    device.address = QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0");
    device.pinKeeping = Site::PinKeeping::NotRemembered;
    const Site depot = added(device);

    EXPECT_EQ(mueller.address, QStringLiteral("COM3"));
    EXPECT_EQ(mueller.folder, dir.filePath(QStringLiteral("chosen")));
    EXPECT_EQ(harbour.folder, base + QStringLiteral("/12 Harbour Street, gate 2"));
    EXPECT_FALSE(harbour.id.isNull());

    SiteBook again(path, base);
    QString error;
    ASSERT_TRUE(again.load(&error)) << qPrintable(error);
    ASSERT_EQ(again.sites().size(), 3);
    EXPECT_EQ(again.sites().at(0), harbour);
    EXPECT_EQ(again.sites().at(1), mueller);
    EXPECT_EQ(again.sites().at(2), depot);

    const QByteArray text = fileBytes(path);
    const SiteBookFormat::Parsed parsed = SiteBookFormat::parse(text, base);
    EXPECT_TRUE(parsed.mistakes.isEmpty());
    EXPECT_FALSE(parsed.completed);
    EXPECT_EQ(SiteBookFormat::format(parsed.sites), text);
}

TEST_F(Book, AnyValueSurvivesTheBook)
{
    const QStringList values = {
        QStringLiteral("C:\\new\\temp"),        QStringLiteral("\\x4 \\u12 \\uD800 \\s \\"),
        QStringLiteral(" lead and trail "),      QStringLiteral("\t tab \t"),
        QStringLiteral("a\r\nb\nc\rd"),           QString(QChar(0x85)) + QStringLiteral("next line") + QChar(0x85),
        QString(QChar(0xA0)) + QStringLiteral("no-break") + QChar(0x2003), QStringLiteral("\x01\x1f\x7f") + QChar(0x9B),
        QStringLiteral("Müllerstraße ✓ 東京"),
    };
    QList<Site> sites;
    for (const QString &value : values) {
        Site site;
        site.id = QUuid::createUuid();
        site.name = QStringLiteral("Site %1").arg(sites.size());
        site.address = QStringLiteral("COM1");
        site.folder = QStringLiteral("/sites/%1").arg(sites.size());
        site.notes = value;
        site.model = value;
        site.backupMessage = value;
        sites << site;
    }
    const QByteArray text = SiteBookFormat::format(sites);
    const SiteBookFormat::Parsed parsed = SiteBookFormat::parse(text, base);
    ASSERT_TRUE(parsed.mistakes.isEmpty()) << qPrintable(SiteBookFormat::describe(parsed.mistakes));
    ASSERT_EQ(parsed.sites.size(), sites.size());
    for (qsizetype i = 0; i < sites.size(); ++i)
        EXPECT_EQ(parsed.sites.at(i), sites.at(i)) << qPrintable(values.at(i));
    EXPECT_EQ(text.count('\n'), 6 + 10 * sites.size()) << "one line a setting, whatever the value holds";
}

TEST_F(Book, AMissingFileIsAnEmptyBookAndTheFirstChangeMakesItsFolder)
{
    ASSERT_TRUE(book.load());
    EXPECT_TRUE(book.sites().isEmpty());
    EXPECT_FALSE(QFile::exists(path));
    Site site;
    site.name = QStringLiteral("Gate");
    site.address = QStringLiteral("tcp://gate.example:4001");
    added(site);
    EXPECT_TRUE(QFile::exists(path));
}

// Each mistake a person can make in the file, with the line it is on.
TEST_F(Book, EveryMistakeIsNamedWithItsLine)
{
    const char *const id = "0b9c4e0e-3f4b-4d1e-9a55-6d3b0f1c2a77";
    const struct
    {
        QByteArray text;
        int line;
        const char *says;
    } cases[] = {
        {"[site]\nname = A\naddress = COM1\nadres = x\n", 4, "unknown key \"adres\""},
        {"[site]\naddress = COM1\n", 1, "has no name"},
        {"[site]\nname = A\n", 1, "has no address"},
        {"[site]\nname = Harbour Street\naddress = COM1\n\n[site]\nname = harbour  STREET\naddress = COM2\n", 6,
         "already used by the site on line 1"},
        {"[site]\nname = A\naddress = COM7\n", 3, "the ports are COM1 to COM4"},
        {"[site]\nname = A\naddress = ttyUSB0\n", 3, "full path"},
        {"[site]\nname = A\naddress = tcp://gate\n", 3, "has no port"},
        {"[site]\nname = A\naddress = COM1\nlast-contact = yesterday\n", 4, "not a time"},
        {"[site]\nname = A\naddress = COM1\nlast-backup = 2024-13-01T00:00:00Z\n", 4, "not a time"},
        {"[site]\nname = A\naddress = COM1\nid = 12345\n", 4, "is not an id"},
        {QByteArray("[site]\nid = ") + id + "\nname = A\naddress = COM1\n[site]\nid = " + id +
             "\nname = B\naddress = COM2\n",
         6, "id is already used"},
        {"name = A\n[site]\nname = B\naddress = COM1\n", 1, "before the first [site]"},
        {"[site]\nname = A\naddress = COM1\nnotes: key safe\n", 4, "write key = value"},
        {"[sites]\nname = A\naddress = COM1\n", 1, "not a block"},
        {"[site]\nname = A\naddress = COM1\npin = vault\n", 4, "keyring, file or none"},
        {"[site]\nname = A\naddress = COM1\nbackup-result = maybe\n", 4, "ok or failed"},
        {"[site]\nname = A\naddress = COM1\nname = B\n", 4, "given twice"},
        {"[site]\nname = A\naddress = COM1\nfolder = sites/A\n", 4, "not a full path"},
        {"[site]\nname = A\naddress = COM1\nfolder = /x/A\n[site]\nname = B\naddress = COM2\nfolder = /x/A\n", 8,
         "folder of its own"},
        {"[site]\nname = Caf\xE9\naddress = COM1\n", 2, "not UTF-8"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const SiteBookFormat::Parsed parsed = SiteBookFormat::parse(c.text, base);
        ASSERT_EQ(parsed.mistakes.size(), 1) << qPrintable(SiteBookFormat::describe(parsed.mistakes));
        EXPECT_EQ(parsed.mistakes.first().line, c.line);
        EXPECT_TRUE(parsed.mistakes.first().text.contains(QLatin1String(c.says)))
            << qPrintable(parsed.mistakes.first().text);
    }
}

TEST_F(Book, ADamagedBookIsReportedWithItsLinesAndNeverSavedOver)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray damaged = "# mine\n[site]\nname = Gate\naddress = COM1\n\n[site]\nname = Yard\nadress = COM2\n";
    writeFile(path, damaged);

    QString error;
    EXPECT_FALSE(book.load(&error));
    EXPECT_TRUE(book.isDamaged());
    EXPECT_TRUE(error.contains(QLatin1String("line 8: unknown key \"adress\""))) << qPrintable(error);
    EXPECT_TRUE(error.contains(QLatin1String("line 6: the site that starts on line 6 has no address")))
        << qPrintable(error);
    EXPECT_TRUE(error.contains(path)) << qPrintable(error);

    Site site;
    site.name = QStringLiteral("New");
    site.address = QStringLiteral("COM3");
    error.clear();
    EXPECT_FALSE(book.add(site, &error));
    EXPECT_TRUE(error.contains(QLatin1String("line 8"))) << qPrintable(error);
    EXPECT_FALSE(book.recordContact(QUuid::createUuid(), QStringLiteral("Corvalen_100_Xarn"),
                                    QDateTime::currentDateTimeUtc()));
    EXPECT_EQ(fileBytes(path), damaged);

    // Mended by hand, the book takes changes again.
    writeFile(path, QByteArray(damaged).replace("adress", "address"));
    ASSERT_TRUE(book.add(site, &error)) << qPrintable(error);
    EXPECT_EQ(book.sites().size(), 3);
    EXPECT_FALSE(book.isDamaged());
}

TEST_F(Book, ASiteWrittenByHandGetsAnIdAndAFolderThatStay)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QDir().mkpath(base + QStringLiteral("/Gate"));
    writeFile(path, "[site]\nname = Gate\naddress = COM1\n");

    ASSERT_TRUE(book.load());
    ASSERT_EQ(book.sites().size(), 1);
    const Site first = book.sites().first();
    EXPECT_FALSE(first.id.isNull());
    EXPECT_EQ(first.folder, base + QStringLiteral("/Gate (2)")) << "a folder that is there belongs to no one yet";

    SiteBook later(path, base);
    ASSERT_TRUE(later.load());
    EXPECT_EQ(later.sites().first().id, first.id);
    EXPECT_EQ(later.sites().first().folder, first.folder);
}

TEST_F(Book, NamesAreUniqueIgnoringCaseAndBlanks)
{
    Site site;
    site.name = QStringLiteral("  Harbour   Street ");
    site.address = QStringLiteral("COM1");
    const Site harbour = added(site);
    EXPECT_EQ(harbour.name, QStringLiteral("Harbour Street"));

    site.name = QStringLiteral("HARBOUR street");
    QString error;
    EXPECT_FALSE(book.add(site, &error));
    EXPECT_EQ(error, QStringLiteral("There is already a site named \"Harbour Street\""));

    site.name = QStringLiteral("Yard");
    const Site yard = added(site);
    Site renamed = yard;
    renamed.name = QStringLiteral("harbour street");
    EXPECT_FALSE(book.update(renamed, &error));
    renamed = harbour;
    renamed.name = QStringLiteral("HARBOUR STREET"); // the site's own name in other letters
    EXPECT_TRUE(book.update(renamed, &error)) << qPrintable(error);

    EXPECT_EQ(book.byName(QStringLiteral("harbour  STREET"))->id, harbour.id);
    EXPECT_EQ(book.byId(yard.id)->name, QStringLiteral("Yard"));
    EXPECT_FALSE(book.byName(QStringLiteral("Harbour")));

    site.name = QString();
    EXPECT_FALSE(book.add(site, &error));
    EXPECT_EQ(error, QStringLiteral("The site has no name"));
}

TEST_F(Book, RenamingKeepsTheIdAndTheFolder)
{
    Site site;
    site.name = QStringLiteral("Gate");
    site.address = QStringLiteral("COM1");
    const Site gate = added(site);
    Site renamed = gate;
    renamed.name = QStringLiteral("North gate");
    renamed.folder.clear(); // as an editor that leaves the folder alone
    ASSERT_TRUE(book.update(renamed));
    EXPECT_EQ(book.byName(QStringLiteral("North gate"))->id, gate.id);
    EXPECT_EQ(book.byId(gate.id)->folder, gate.folder);
}

TEST_F(Book, CloseNamesFindTypingSlipsAndParts)
{
    for (const char *name : {"12 Harbour Street, gate 2", "12 Harbour Street, gate 1", "Depot", "Market Hall"}) {
        Site site;
        site.name = QString::fromUtf8(name);
        site.address = QStringLiteral("COM1");
        added(site);
    }
    EXPECT_EQ(book.closeNames(QStringLiteral("Depto")), QStringList{QStringLiteral("Depot")});
    EXPECT_EQ(book.closeNames(QStringLiteral("12 harbor street, gate 2")),
              (QStringList{QStringLiteral("12 Harbour Street, gate 2"), QStringLiteral("12 Harbour Street, gate 1")}));
    EXPECT_EQ(book.closeNames(QStringLiteral("market")), QStringList{QStringLiteral("Market Hall")});
    EXPECT_TRUE(book.closeNames(QStringLiteral("Station Road")).isEmpty());
}

TEST_F(Book, WhatTheProgramLearnsIsKeptAndRecentSitesComeNewestFirst)
{
    Site site;
    site.address = QStringLiteral("COM1");
    site.name = QStringLiteral("A");
    const Site a = added(site);
    site.name = QStringLiteral("B");
    const Site b = added(site);
    site.name = QStringLiteral("C");
    added(site);

    const QDateTime morning(QDate(2024, 5, 2), QTime(8, 0, 0, 250), QTimeZone::utc());
    ASSERT_TRUE(book.recordContact(a.id, QStringLiteral("Corvalen_1000_Xarn"), morning));
    ASSERT_TRUE(book.recordBackup(a.id, morning.addSecs(60), false, QStringLiteral("No Reponse from Corvalen")));
    ASSERT_TRUE(book.recordOpened(a.id, morning));
    ASSERT_TRUE(book.recordOpened(b.id, morning.addSecs(5)));
    EXPECT_FALSE(book.recordOpened(QUuid::createUuid(), morning));

    SiteBook again(path, base);
    ASSERT_TRUE(again.load());
    const Site learned = *again.byId(a.id);
    EXPECT_EQ(learned.model, QStringLiteral("Corvalen_1000_Xarn"));
    EXPECT_EQ(learned.lastContact, morning.addMSecs(-250));
    EXPECT_EQ(learned.backupResult, Site::BackupResult::Failed);
    EXPECT_EQ(learned.backupMessage, QStringLiteral("No Reponse from Corvalen"));
    const QList<Site> recent = again.recent(5);
    ASSERT_EQ(recent.size(), 2);
    EXPECT_EQ(recent.at(0).id, b.id);
    EXPECT_EQ(recent.at(1).id, a.id);

    // Opened one after the other within a second (the book keeps seconds):
    // the last one opened is still the most recent, and opening it again
    // does not push it further ahead.
    ASSERT_TRUE(book.recordOpened(a.id, morning.addSecs(5).addMSecs(100)));
    ASSERT_TRUE(book.recordOpened(b.id, morning.addSecs(5).addMSecs(200)));
    ASSERT_TRUE(book.recordOpened(a.id, morning.addSecs(5).addMSecs(300)));
    ASSERT_EQ(book.recent(1).size(), 1);
    EXPECT_EQ(book.recent(1).at(0).id, a.id);
    const QDateTime last = book.byId(a.id)->lastOpened;
    ASSERT_TRUE(book.recordOpened(a.id, morning.addSecs(5).addMSecs(400)));
    EXPECT_EQ(book.byId(a.id)->lastOpened, last);
}

TEST_F(Book, AChangeByAnotherProgramIsKept)
{
    Site site;
    site.address = QStringLiteral("COM1");
    site.name = QStringLiteral("Mine");
    const Site mine = added(site);

    SiteBook other(path, base); // another program, loaded before the change below
    ASSERT_TRUE(other.load());
    ASSERT_TRUE(other.recordBackup(mine.id, QDateTime::currentDateTimeUtc(), true, {}));

    site.name = QStringLiteral("Yours");
    added(site); // from a book that has not seen the backup
    ASSERT_EQ(book.sites().size(), 2);
    EXPECT_EQ(book.byId(mine.id)->backupResult, Site::BackupResult::Ok);

    ASSERT_TRUE(other.remove(mine.id));
    QString error;
    Site stale = mine;
    stale.notes = QStringLiteral("edited in a window that still shows it");
    EXPECT_FALSE(book.update(stale, &error));
    EXPECT_TRUE(error.contains(QLatin1String("no longer in the site book"))) << qPrintable(error);
}

TEST_F(Book, ScriptsReadASiteAsJsonWithNullForNever)
{
    Site site = added(fullSite());
    Site never;
    never.name = QStringLiteral("Never seen");
    never.address = QStringLiteral("COM4");
    never = added(never);
    const QJsonDocument document(SiteJson::array(book.sites()));
    const QJsonArray read = QJsonDocument::fromJson(document.toJson()).array();
    ASSERT_EQ(read.size(), 2);
    const QJsonObject first = read.at(0).toObject();
    EXPECT_EQ(first.value(QLatin1String("name")).toString(), site.name);
    EXPECT_EQ(first.value(QLatin1String("port")).toString(), QStringLiteral("rfc2217://[fe80::1]:4001"));
    EXPECT_EQ(first.value(QLatin1String("model")).toString(), QStringLiteral("Corvalen_500_Xarn"));
    EXPECT_EQ(first.value(QLatin1String("last_contact")).toString(), QStringLiteral("2024-05-01T10:22:31Z"));
    EXPECT_EQ(first.value(QLatin1String("last_backup")).toString(), QStringLiteral("2024-05-02T02:00:04Z"));
    EXPECT_EQ(first.value(QLatin1String("backup_result")).toString(), QStringLiteral("failed"));
    EXPECT_EQ(first.value(QLatin1String("pin")).toString(), QStringLiteral("file"));
    const QJsonObject second = read.at(1).toObject();
    for (const char *key : {"model", "last_contact", "last_backup", "backup_result"})
        EXPECT_TRUE(second.value(QLatin1String(key)).isNull()) << key;
    EXPECT_EQ(second.value(QLatin1String("id")).toString(), never.id.toString(QUuid::WithoutBraces));
}

} // namespace
