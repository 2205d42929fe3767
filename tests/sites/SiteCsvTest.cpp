// The site book as a spreadsheet list: what a team exports, edits in a
// spreadsheet and imports again.
#include "sites/SiteBook.h"
#include "sites/SiteCsv.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

struct Csv : ::testing::Test
{
    QTemporaryDir dir;
    QString base = dir.filePath(QStringLiteral("sites"));
    SiteBook book{dir.filePath(QStringLiteral("sites.txt")), base};

    Site add(const QString &name, const QString &address)
    {
        Site site;
        site.name = name;
        site.address = address;
        QString error;
        const std::optional<Site> added = book.add(site, &error);
        EXPECT_TRUE(added) << qPrintable(error);
        return added.value_or(Site{});
    }
    SiteCsv::Report imported(const QByteArray &bytes)
    {
        QString error;
        const std::optional<SiteCsv::Report> report = SiteCsv::import(book, bytes, &error);
        EXPECT_TRUE(report) << qPrintable(error);
        return report.value_or(SiteCsv::Report{});
    }
};

TEST_F(Csv, AnExportedListImportedIntoAnEmptyBookGivesTheSameSites)
{
    Site harbour = add(QStringLiteral("12 Harbour Street, gate 2"), QStringLiteral("rfc2217://gate2.example:4001"));
    harbour.notes = QStringLiteral("Caretaker: \"Ann\", 0161 555 0102\nPanel behind the left door");
    harbour.pinKeeping = Site::PinKeeping::PinFile;
    ASSERT_TRUE(book.update(harbour));
    const Site mueller = add(QStringLiteral("Müllerstraße 4"), QStringLiteral("/dev/ttyUSB0"));
    ASSERT_TRUE(book.recordContact(mueller.id, QStringLiteral("Corvalen_100_Xarn"),
                                   QDateTime(QDate(2024, 5, 1), QTime(10, 22, 31), QTimeZone::utc())));
    ASSERT_TRUE(book.recordBackup(mueller.id, QDateTime(QDate(2024, 5, 2), QTime(2, 0, 4), QTimeZone::utc()), false,
                                  QStringLiteral("No Reponse from Corvalen")));

    const QString file = dir.filePath(QStringLiteral("team.csv"));
    QString error;
    ASSERT_TRUE(SiteCsv::save(book.sites(), file, ';', &error)) << qPrintable(error);
    QFile csv(file);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QByteArray bytes = csv.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBFName;Address;Notes;Model;Last contact (UTC);Last backup (UTC);Result;"
                                 "Message\r\n"));
    EXPECT_TRUE(bytes.contains("Corvalen_100_Xarn;2024-05-01 10:22:31;2024-05-02 02:00:04;failed;"));

    SiteBook other(dir.filePath(QStringLiteral("other.txt")), base);
    const std::optional<SiteCsv::Report> report = SiteCsv::importFile(other, file, &error);
    ASSERT_TRUE(report) << qPrintable(error);
    EXPECT_EQ(report->added, 2);
    EXPECT_TRUE(report->problems.isEmpty()) << qPrintable(report->summary());
    ASSERT_EQ(other.sites().size(), 2);
    for (const Site &original : book.sites()) {
        const Site copy = *other.byName(original.name);
        EXPECT_NE(copy.id, original.id) << "a new site of this book";
        EXPECT_EQ(copy.address, original.address);
        EXPECT_EQ(copy.notes, original.notes);
        EXPECT_EQ(copy.model, original.model);
        EXPECT_EQ(copy.lastContact, original.lastContact);
        EXPECT_EQ(copy.lastBackup, original.lastBackup);
        EXPECT_EQ(copy.backupResult, original.backupResult);
        EXPECT_EQ(copy.backupMessage, original.backupMessage);
        EXPECT_EQ(copy.pinKeeping, Site::PinKeeping::Keyring) << "how a PIN is kept stays on each machine";
    }
}

TEST_F(Csv, RowsWithMistakesAreReportedByRowAndTheOthersTaken)
{
    const QByteArray sheet = "name,ADDRESS,notes,Last_Contact,colour\r\n"
                             "Gate,COM1,,,red\r\n"
                             "Yard,COM9,,,\r\n"
                             ",COM2,a note without a site,,\r\n"
                             "\r\n"
                             "Depot,COM2,,last tuesday,\r\n"
                             "gate,COM3,,,\r\n"
                             "Hall,,,,\r\n"
                             "\"Market, north\",\"tcp://market:4001\",\"two\r\nlines\",2024-05-02T08:00:00+02:00,\r\n";
    const SiteCsv::Report report = imported(sheet);
    EXPECT_EQ(report.added, 2);
    EXPECT_EQ(report.updated, 0);
    ASSERT_EQ(report.problems.size(), 5) << qPrintable(report.summary());
    EXPECT_TRUE(report.problems.at(0).startsWith(QLatin1String("row 3: \"COM9\": the ports are COM1 to COM4")));
    EXPECT_EQ(report.problems.at(1), QStringLiteral("row 4: no name"));
    EXPECT_TRUE(report.problems.at(2).startsWith(QLatin1String("row 6: last contact \"last tuesday\" is not a time")));
    EXPECT_EQ(report.problems.at(3), QStringLiteral("row 7: \"gate\" is also on row 2"));
    EXPECT_TRUE(report.problems.at(4).startsWith(QLatin1String("row 8: No device given"))) << qPrintable(report.problems.at(4));
    EXPECT_EQ(report.unusedColumns, QStringList{QStringLiteral("colour")});

    const Site market = *book.byName(QStringLiteral("Market, north"));
    EXPECT_EQ(market.notes, QStringLiteral("two\r\nlines"));
    EXPECT_EQ(market.lastContact, QDateTime(QDate(2024, 5, 2), QTime(6, 0, 0), QTimeZone::utc()));
    EXPECT_EQ(book.byName(QStringLiteral("Gate"))->address, QStringLiteral("COM1"));
}

TEST_F(Csv, ASiteOfTheSameNameIsUpdatedAndOnlyNewerNewsIsTaken)
{
    Site gate = add(QStringLiteral("Harbour Gate"), QStringLiteral("COM1"));
    gate.notes = QStringLiteral("mine");
    ASSERT_TRUE(book.update(gate));
    const QDateTime contact(QDate(2024, 5, 10), QTime(9, 0, 0), QTimeZone::utc());
    ASSERT_TRUE(book.recordContact(gate.id, QStringLiteral("Corvalen_1000_Xarn"), contact));
    ASSERT_TRUE(book.recordBackup(gate.id, contact, true, {}));

    // An older contact from a colleague's list, a newer failed backup.
    const SiteCsv::Report report =
        imported("Name,Address,Model,Last contact,Last backup,Result,Message\n"
                 "HARBOUR GATE,tcp://gate:4001,Corvalen_100_Xarn,2024-05-01 09:00:00,2024-05-11 02:00:00,failed,"
                 "No Reponse from Corvalen\n");
    EXPECT_EQ(report.added, 0);
    EXPECT_EQ(report.updated, 1);
    ASSERT_EQ(book.sites().size(), 1);
    const Site after = book.sites().first();
    EXPECT_EQ(after.id, gate.id);
    EXPECT_EQ(after.name, QStringLiteral("Harbour Gate"));
    EXPECT_EQ(after.address, QStringLiteral("tcp://gate:4001"));
    EXPECT_EQ(after.notes, QStringLiteral("mine")) << "a column the file does not have changes nothing";
    EXPECT_EQ(after.model, QStringLiteral("Corvalen_1000_Xarn"));
    EXPECT_EQ(after.lastContact, contact);
    EXPECT_EQ(after.backupResult, Site::BackupResult::Failed);
    EXPECT_EQ(after.backupMessage, QStringLiteral("No Reponse from Corvalen"));
    EXPECT_EQ(after.folder, gate.folder);
}

TEST_F(Csv, SpreadsheetsOfOtherLocalesAndCodePagesAreRead)
{
    const SiteCsv::Report report = imported("Name;Address;Notes\r\n"
                                            "M\xFCllerstra\xDF"
                                            "e 4;COM2;Schl\xFCssel beim Hauswart\r\n");
    EXPECT_EQ(report.added, 1) << qPrintable(report.summary());
    const std::optional<Site> site = book.byName(QStringLiteral("Müllerstraße 4"));
    ASSERT_TRUE(site);
    EXPECT_EQ(site->notes, QStringLiteral("Schlüssel beim Hauswart"));
}

TEST_F(Csv, AListWithoutNamesOrABookWithAMistakeTakesNothing)
{
    QString error;
    EXPECT_FALSE(SiteCsv::import(book, "Address,Notes\nCOM1,x\n", &error));
    EXPECT_TRUE(error.contains(QLatin1String("no Name column"))) << qPrintable(error);
    EXPECT_FALSE(SiteCsv::import(book, QByteArray(), &error));

    QFile damaged(book.fileName());
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("[site]\nname = Gate\n");
    damaged.close();
    EXPECT_FALSE(SiteCsv::import(book, "Name,Address\nYard,COM1\n", &error));
    EXPECT_TRUE(error.contains(QLatin1String("line 1"))) << qPrintable(error);
    ASSERT_TRUE(damaged.open(QIODevice::ReadOnly));
    EXPECT_EQ(damaged.readAll(), QByteArray("[site]\nname = Gate\n"));
}

} // namespace
