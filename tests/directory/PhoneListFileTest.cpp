#include "directory/PhoneGridSort.h"
#include "directory/PhoneListFile.h"
#include "support/AppHarness.h"
#include "table/TableFile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QByteArray kHeader = "Name,RoomNumber,PHnumber,Code1,Code2,spare,RFID,Addr\r\n";

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

struct FileFixture : ::testing::Test
{
    AppHarness h;
    PhoneListFile file{h.ctx};
    QTemporaryDir dir;
    Table &table = h.directory.PhoneTable;

    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    QList<QByteArray> column(const char *field) const
    {
        QList<QByteArray> out;
        for (int r = 0; r < table.count(); ++r)
            out << table.value(r, field);
        return out;
    }
};

} // namespace

TEST_F(FileFixture, NewGivesAnEmptyListNamedInTheWorkingFolderAndSavesTheHeaderOnly)
{
    table.appendRecord({"Old", "1"});
    h.link.conn().DirectorySynced = true;
    h.directory.setWriteEachChangeEnabled(true);
    int gridSetups = 0;
    QObject::connect(&h.directory, &PhoneDirectory::phoneGridSetupRequested, [&] { ++gridSetups; });

    ASSERT_TRUE(file.newList(dir.path()));
    EXPECT_EQ(table.count(), 0);
    EXPECT_TRUE(table.isOpen());
    EXPECT_EQ(h.directory.DBFiles(), dir.path() + QStringLiteral("/CorvalenPhList.csv"));
    EXPECT_TRUE(h.directory.PhoneFileSaveAllowed());
    EXPECT_TRUE(h.directory.PhoneFileSaveAsAllowed());
    EXPECT_FALSE(h.link.conn().DirectorySynced);
    EXPECT_FALSE(h.directory.writeEachChangeEnabled());
    EXPECT_EQ(gridSetups, 1);

    ASSERT_TRUE(file.save());
    EXPECT_EQ(readAll(h.directory.DBFiles()), kHeader);
    EXPECT_EQ(PhoneListFile::defaultFileName(QStringLiteral("/work/")), QStringLiteral("/work/CorvalenPhList.csv"));
}

TEST_F(FileFixture, OpenMatchesColumnsByNameAndTakesEveryKindOfLine)
{
    writeFile(path("odd.csv"), "addr,EXTRA,name,ROOMNUMBER,phnumber\r\n"
                               "1020,x,ABCDEFGHIJKLMNOPQRST,101,0123\r\n"
                               "\r\n\n\r\n"
                               "1040,x,Short\r\n"
                               "1060,x,Long,7,8,surplus,more,and more\r\n"
                               "%m,,50%% off%c%n,1\r\n");
    h.link.conn().DirectorySynced = true;
    ASSERT_TRUE(file.open(path("odd.csv")));
    EXPECT_EQ(column("Name"), (QList<QByteArray>{"ABCDEFGHIJKLMNOP", "Short", "Long", "50% off\r\n"}));
    EXPECT_EQ(column("RoomNumber"), (QList<QByteArray>{"101", "", "7", "1"}));
    EXPECT_EQ(column("PHnumber"), (QList<QByteArray>{"0123", "", "8", ""}));
    EXPECT_EQ(column("Addr"), (QList<QByteArray>{"1020", "1040", "1060", ","}));
    EXPECT_EQ(column("RFID"), (QList<QByteArray>{"", "", "", ""}));
    EXPECT_EQ(h.directory.DBFiles(), path("odd.csv"));
    EXPECT_FALSE(h.directory.TableLoading);
    EXPECT_TRUE(h.directory.ScrollSyncOn);
    EXPECT_FALSE(h.link.conn().DirectorySynced);
    EXPECT_EQ(table.position(), 1);
    EXPECT_TRUE(h.prompt.messages.isEmpty());
}

TEST_F(FileFixture, SaveOpenSaveGivesTheSameBytesAlsoWithCommasPercentsAndLineBreaks)
{
    table.appendRecord({"Smith, J", "101", "*12#p", "1234", "", "1", "0A1B2C3D4E", "1000"});
    table.appendRecord({"100% \r\nsure", "102", "", "", "99", "", "", "p2"});
    table.appendRecord({QByteArray("nul\0x", 5), "", "", "", "", "", "", ""});
    ASSERT_TRUE(file.saveAs(path("a.csv")));
    const QByteArray first = readAll(path("a.csv"));
    EXPECT_TRUE(first.startsWith(kHeader));
    EXPECT_TRUE(first.contains("Smith%m J,101,*12#p,1234,,1,0A1B2C3D4E,1000\r\n"));
    EXPECT_TRUE(first.contains("100%% %c%nsure,102,,,99,,,p2\r\n"));

    ASSERT_TRUE(file.open(path("a.csv")));
    EXPECT_EQ(table.value(0, "Name"), QByteArray("Smith, J"));
    EXPECT_EQ(table.value(1, "Name"), QByteArray("100% \r\nsure"));
    EXPECT_EQ(table.value(2, "Name"), QByteArray("nul\0x", 5));
    ASSERT_TRUE(file.saveAs(path("b.csv")));
    EXPECT_EQ(readAll(path("b.csv")), first);
}

TEST_F(FileFixture, SaveFollowsTheLastSortAndALaterOpenShowsFileOrderAgain)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    table.appendRecord({"c", "1", "300"});
    table.appendRecord({"a", "2", "1"});
    table.appendRecord({"b", "3", "20"});
    ASSERT_TRUE(file.saveAs(path("order.csv")));
    PhoneGridSort::DBGrid1TitleClick(table, "PHnumber");
    EXPECT_EQ(column("PHnumber"), (QList<QByteArray>{"1", "20", "300"})); // as text
    EXPECT_EQ(table.position(), 1);
    ASSERT_TRUE(file.saveAs(path("sorted.csv")));
    EXPECT_EQ(readAll(path("sorted.csv")), kHeader + "a,2,1,,,,,\r\nb,3,20,,,,,\r\nc,1,300,,,,,\r\n");

    ASSERT_TRUE(file.open(path("order.csv")));
    EXPECT_EQ(column("Name"), (QList<QByteArray>{"c", "a", "b"}));
    table.appendRecord({"0", "4", "4"});
    EXPECT_EQ(column("Name").last(), QByteArray("0")); // no sort in force
}

TEST_F(FileFixture, ATitleClickSortsIgnoringCase)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    for (const char *n : {"delta", "Bravo", "alpha", "Charlie"})
        table.appendRecord({n, "1"});
    PhoneGridSort::DBGrid1TitleClick(table, "Name");
    EXPECT_EQ(column("Name"), (QList<QByteArray>{"alpha", "Bravo", "Charlie", "delta"}));
    PhoneGridSort::SortbyAddrClick(table);
    EXPECT_EQ(table.position(), 1);
}

TEST_F(FileFixture, AFileThatCannotBeReadChangesNothingSoSaveKeepsTheEarlierList)
{
    table.appendRecord({"Kept", "1"});
    ASSERT_TRUE(file.saveAs(path("good.csv")));
    const QByteArray good = readAll(path("good.csv"));
    writeFile(path("huge.csv"), kHeader);
    QFile::resize(path("huge.csv"), TableFile::kMaxFileBytes + 1); // sparse: costs no disk
    writeFile(path("limit.csv"), kHeader);
    QFile::resize(path("limit.csv"), TableFile::kMaxFileBytes);
    const struct
    {
        QString name;
        QString message;
    } cases[] = {
        {path("missing.csv"), QStringLiteral("Cannot open file %1").arg(path("missing.csv"))},
        {dir.path(), QStringLiteral("Cannot open file %1").arg(dir.path())},
        {path("huge.csv"), QStringLiteral("Cannot open file %1\r\nThe file is larger than 1 MB, far larger than any list.")
                               .arg(path("huge.csv"))},
        {QStringLiteral("/dev/zero"),
         QStringLiteral("Cannot open file /dev/zero\r\nThe file is larger than 1 MB, far larger than any list.")},
    };
    for (const auto &c : cases) {
        h.prompt.messages.clear();
        h.link.conn().DirectorySynced = true;
        h.directory.setWriteEachChangeEnabled(true);
        EXPECT_FALSE(file.open(c.name));
        EXPECT_EQ(h.prompt.messages, QStringList{c.message});
        EXPECT_EQ(column("Name"), QList<QByteArray>{"Kept"}) << qPrintable(c.name);
        EXPECT_TRUE(table.isOpen());
        EXPECT_FALSE(h.directory.TableLoading);
        EXPECT_TRUE(h.directory.ScrollSyncOn);
        EXPECT_TRUE(h.link.conn().DirectorySynced);
        EXPECT_TRUE(h.directory.writeEachChangeEnabled());
        EXPECT_EQ(h.directory.DBFiles(), path("good.csv"));
        ASSERT_TRUE(file.save());
        EXPECT_EQ(readAll(path("good.csv")), good);
    }
    // Up to the limit a file is read (its NUL bytes are line ends).
    h.prompt.messages.clear();
    EXPECT_TRUE(file.open(path("limit.csv")));
    EXPECT_EQ(table.count(), 0);
    EXPECT_TRUE(h.prompt.messages.isEmpty());
}

TEST_F(FileFixture, RfidCodesAreStoredInUpperCase)
{
    writeFile(path("tags.csv"), kHeader + "A,1,,,,,0a1b2c3d4e,1000\r\nB,2,,,,,Ab,1020\r\n");
    ASSERT_TRUE(file.open(path("tags.csv")));
    EXPECT_EQ(column("RFID"), (QList<QByteArray>{"0A1B2C3D4E", "AB"}));
    EXPECT_EQ(column("Name"), (QList<QByteArray>{"A", "B"}));
}

TEST_F(FileFixture, ASaveIntoAReadOnlyFolderKeepsTheOldFileAndTheTable)
{
    table.appendRecord({"Old", "1"});
    ASSERT_TRUE(file.saveAs(path("list.csv")));
    const QByteArray before = readAll(path("list.csv"));
    table.appendRecord({"New", "2"});
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool saved = file.save();
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (saved)
        GTEST_SKIP() << "running as a user that ignores folder permissions";
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("Cannot create file %1").arg(path("list.csv"))});
    EXPECT_EQ(readAll(path("list.csv")), before);
    EXPECT_EQ(table.count(), 2);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("list.csv")});
}

TEST_F(FileFixture, SaveLeavesOutAnEntryBeingAddedAndDoesNotTouchTheTable)
{
    table.appendRecord({"Stored", "1"});
    table.append();
    table.setField("Name", "Typing");
    ASSERT_TRUE(file.saveAs(path("x.csv")));
    EXPECT_EQ(readAll(path("x.csv")), kHeader + "Stored,1,,,,,,\r\n");
    EXPECT_EQ(table.state(), Table::State::Insert);
    EXPECT_EQ(table.position(), -1);
}

TEST_F(FileFixture, NewAndOpenWaitWhileAnExchangeRuns)
{
    table.appendRecord({"Busy", "1"});
    ExchangeGuard::Scope busy(h.guard);
    EXPECT_FALSE(file.newList(dir.path()));
    EXPECT_FALSE(file.open(path("any.csv")));
    EXPECT_EQ(table.count(), 1);
}

TEST_F(FileFixture, RandomPhoneListsOfAnyBytesComeBackEqualThroughSaveAndOpen)
{
    QRandomGenerator rng(4711);
    const QList<Table::Field> fields = table.fields();
    for (int round = 0; round < 30; ++round) {
        ASSERT_TRUE(file.newList(dir.path()));
        const int rows = int(rng.bounded(40));
        for (int r = 0; r < rows; ++r) {
            QList<QByteArray> values;
            for (const Table::Field &f : fields) {
                QByteArray v;
                const int len = int(rng.bounded(f.width + 1));
                for (int i = 0; i < len; ++i)
                    v.append(char(rng.bounded(256)));
                values << v;
            }
            values[table.fieldIndex("RFID")] = values.at(table.fieldIndex("RFID")).toUpper(); // as the panel has them
            table.appendRecord(values);
        }
        QList<QList<QByteArray>> before;
        for (int r = 0; r < table.count(); ++r)
            before << table.row(r);
        ASSERT_TRUE(file.saveAs(path("random.csv")));
        const QByteArray bytes = readAll(path("random.csv"));
        ASSERT_TRUE(file.open(path("random.csv")));
        ASSERT_EQ(table.count(), before.size());
        for (int r = 0; r < table.count(); ++r)
            ASSERT_EQ(table.row(r), before.at(r)) << "round " << round << " row " << r;
        ASSERT_TRUE(file.save());
        ASSERT_EQ(readAll(path("random.csv")), bytes);
    }
}

TEST_F(FileFixture, ASaveThatCannotWriteItsTemporaryFileKeepsTheOldFile)
{
    // Also for a user whom folder permissions do not stop: a name of 250
    // characters leaves no room for the temporary file's suffix.
    const QString longName = dir.filePath(QString(246, QLatin1Char('n')) + QStringLiteral(".csv"));
    writeFile(longName, "old\r\n");
    table.appendRecord({"New", "2"});
    EXPECT_FALSE(file.saveAs(longName));
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("Cannot create file %1").arg(longName)});
    EXPECT_EQ(readAll(longName), QByteArray("old\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

TEST_F(FileFixture, AListFromASpreadsheetLoadsWholeAndSaysOnceWhatItCouldNotKeep)
{
    QByteArray sheet = "\xEF\xBB\xBFName;Room;RoomNumber;PHnumber\r\n"
                       "\"Brown; Ann\";A;7;0211\r\n"
                       "Alexandra Montgomery-Smythe;;8;01234567890123456789\r\n"
                       ";;9;\r\n"
                       "Nobody;;;\r\n";
    for (int i = 0; i < 12; ++i)
        sheet += "Zo\xC3\xAB \xE2\x82\xAC" + QByteArray::number(i) + ";;" + QByteArray::number(10 + i) + ";\r\n";
    writeFile(path("sheet.csv"), sheet);
    ASSERT_TRUE(file.open(path("sheet.csv")));
    ASSERT_EQ(table.count(), 16);
    EXPECT_EQ(table.value(0, "Name"), QByteArray("Brown; Ann"));
    EXPECT_EQ(table.value(1, "Name"), QByteArray("Alexandra Montgo"));
    EXPECT_EQ(table.value(4, "Name"), QByteArray("Zo\xEB ?0"));
    EXPECT_EQ(h.directory.DBFiles(), path("sheet.csv"));
    EXPECT_EQ(h.prompt.messages,
              QStringList{QStringLiteral("Not everything in %1 could be kept as it stands:\r\n"
                                         "Characters the panel cannot hold became \"?\" in row 6 \"Zo\u00EB \u20AC0\", "
                                         "row 7 \"Zo\u00EB \u20AC1\", row 8 \"Zo\u00EB \u20AC2\", row 9 \"Zo\u00EB "
                                         "\u20AC3\", row 10 \"Zo\u00EB \u20AC4\", row 11 \"Zo\u00EB \u20AC5\", row 12 "
                                         "\"Zo\u00EB \u20AC6\", row 13 \"Zo\u00EB \u20AC7\", row 14 \"Zo\u00EB "
                                         "\u20AC8\", row 15 \"Zo\u00EB \u20AC9\" and 2 more.\r\n"
                                         "Values longer than their column were cut in row 3 \"Alexandra "
                                         "Montgomery-Smythe\" (Name, PHnumber).\r\n"
                                         "Entries without a Name or a Room: row 4, row 5 \"Nobody\".\r\n"
                                         "Columns not read: \"Room\".")
                              .arg(path("sheet.csv"))});
}

TEST_F(FileFixture, ExportForASpreadsheetOpensAsTheSameTableWhileSaveKeepsItsOwnForm)
{
    table.appendRecord({"Smith, J", "101", "*12#p", "1234", "", "1", "0A1B2C3D4E", "1000"});
    table.appendRecord({"M\xFC" "ller \"Jo\"", "102", "", "", "99", "", "", "p2"});
    table.appendRecord({"50% \r\nsure", "103"});
    ASSERT_TRUE(file.saveAs(path("own.csv")));
    const QByteArray own = readAll(path("own.csv"));
    QList<QList<QByteArray>> before;
    for (int r = 0; r < table.count(); ++r)
        before << table.row(r);

    ASSERT_TRUE(file.exportTo(path("sheet.csv"), ';'));
    EXPECT_EQ(h.directory.DBFiles(), path("own.csv"));
    const QByteArray sheet = readAll(path("sheet.csv"));
    EXPECT_TRUE(sheet.startsWith("\xEF\xBB\xBFName;RoomNumber;PHnumber;Code1;Code2;spare;RFID;Addr\r\n"
                                 "Smith, J;101;*12#p;1234;;1;0A1B2C3D4E;1000\r\n"
                                 "\"M\xC3\xBCller \"\"Jo\"\"\";102;"));

    ASSERT_TRUE(file.open(path("sheet.csv")));
    EXPECT_TRUE(h.prompt.messages.isEmpty());
    for (int r = 0; r < table.count(); ++r)
        EXPECT_EQ(table.row(r), before.value(r));
    EXPECT_EQ(table.count(), before.size());
    ASSERT_TRUE(file.saveAs(path("again.csv")));
    EXPECT_EQ(readAll(path("again.csv")), own);

    // A name ending in .xlsx asks for a workbook; the list's own name stays.
    ASSERT_TRUE(file.exportTo(path("sheet.XLSX"), ';'));
    EXPECT_TRUE(readAll(path("sheet.XLSX")).startsWith("PK\x03\x04"));
    EXPECT_EQ(h.directory.DBFiles(), path("again.csv"));

    EXPECT_FALSE(file.exportTo(dir.filePath(QStringLiteral("no folder/x.csv")), ','));
    EXPECT_EQ(h.prompt.messages,
              QStringList{QStringLiteral("Cannot create file %1").arg(dir.filePath(QStringLiteral("no folder/x.csv")))});
}
