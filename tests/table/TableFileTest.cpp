#include "table/TableFile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <csignal>
#include <sys/resource.h>

namespace {
QList<Table::Field> phoneLike()
{
    return {{"Name", 16}, {"RoomNumber", 6}, {"PHnumber", 16}, {"Code1", 4},
            {"Code2", 4}, {"spare", 2}, {"RFID", 10}, {"Addr", 4}};
}
} // namespace

TEST(TableFileFormat, HeaderOnlyForAnEmptyTableAndSevenCommasALine)
{
    Table t;
    t.redefine(phoneLike());
    t.open();
    EXPECT_EQ(TableFile::format(t), QByteArray("Name,RoomNumber,PHnumber,Code1,Code2,spare,RFID,Addr\r\n"));
    t.appendRecord({"Smith", "4711", "0123", "", "", "", "", "1000"});
    EXPECT_EQ(TableFile::format(t).split('\n').at(1), QByteArray("Smith,4711,0123,,,,,1000\r"));
}

TEST(TableFileFormat, EscapesRoundTripAndUnknownEscapesAreKept)
{
    const QByteArray value("50% off\r\nA,B\0end", 16);
    const QByteArray escaped = TableFile::escapeValue(value);
    EXPECT_EQ(escaped, QByteArray("50%% off%c%nA%mB%0end"));
    EXPECT_FALSE(escaped.contains(','));
    EXPECT_EQ(TableFile::unescapeValue(escaped), value);
    EXPECT_EQ(TableFile::unescapeValue("ab%"), QByteArray("ab"));
    EXPECT_EQ(TableFile::unescapeValue("a%zb"), QByteArray("a%zb"));
}

TEST(TableFileFormat, ColumnsAreMatchedByNameInAnyOrderAndCase)
{
    const QByteArray file = "addr,EXTRA,name,roomnumber\r\n"
                            "1020,ignored,Jones,12\r\n"
                            "\r\n\r\n"
                            "1040,x,A very long name indeed,1234567,surplus,more\n"
                            "1060\r\n";
    const auto rows = TableFile::parse(file, phoneLike());
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0][0], QByteArray("Jones"));
    EXPECT_EQ(rows[0][1], QByteArray("12"));
    EXPECT_EQ(rows[0][7], QByteArray("1020"));
    EXPECT_EQ(rows[0][6], QByteArray()); // no RFID column
    EXPECT_EQ(rows[1][0], QByteArray("A very long name"));
    EXPECT_EQ(rows[1][1], QByteArray("123456"));
    EXPECT_EQ(rows[2][7], QByteArray("1060"));
    EXPECT_EQ(rows[2][0], QByteArray());
}

TEST(TableFileFormat, EmptyFileAndHeaderOnlyFileGiveNoEntries)
{
    EXPECT_TRUE(TableFile::parse("", phoneLike()).isEmpty());
    EXPECT_TRUE(TableFile::parse("Name,Addr\r\n", phoneLike()).isEmpty());
}

TEST(TableFileFormat, RandomTablesOfAnyBytesReadBackEqual)
{
    QRandomGenerator rng(20261207);
    for (int round = 0; round < 50; ++round) {
        Table t;
        t.redefine(phoneLike());
        t.open();
        const int rows = int(rng.bounded(20));
        for (int r = 0; r < rows; ++r) {
            QList<QByteArray> values;
            for (const Table::Field &f : phoneLike()) {
                QByteArray v;
                const int len = int(rng.bounded(f.width + 1));
                for (int i = 0; i < len; ++i)
                    v.append(char(rng.bounded(256)));
                values << v;
            }
            t.appendRecord(values);
        }
        const QByteArray bytes = TableFile::format(t);
        const auto back = TableFile::parse(bytes, phoneLike());
        ASSERT_FALSE(TableFile::read(bytes, phoneLike()).spreadsheet) << "round " << round;
        ASSERT_EQ(back.size(), t.count());
        for (int r = 0; r < t.count(); ++r)
            ASSERT_EQ(back[r], t.row(r)) << "round " << round << " row " << r;
        // And the second write is the same bytes: a fixed point.
        Table again;
        again.redefine(phoneLike());
        again.open();
        TableFile::appendTo(again, bytes);
        ASSERT_EQ(TableFile::format(again), bytes);
    }
}

TEST(TableFileSave, AFailedSaveKeepsTheOldFileAndSaysWhy)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.csv"));
    QString error;
    ASSERT_TRUE(TableFile::saveFile(path, "old\r\n", &error));
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool saved = TableFile::saveFile(path, "new\r\n", &error);
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (saved)
        GTEST_SKIP() << "running as a user that ignores folder permissions";
    EXPECT_EQ(error, QStringLiteral("Cannot create file %1").arg(path));
    QByteArray content;
    ASSERT_TRUE(TableFile::loadFile(path, &content, &error));
    EXPECT_EQ(content, QByteArray("old\r\n"));
}

TEST(TableFileSave, AMissingFileCannotBeOpened)
{
    QByteArray content;
    QString error;
    EXPECT_FALSE(TableFile::loadFile(QStringLiteral("/nonexistent/x.csv"), &content, &error));
    EXPECT_EQ(error, QStringLiteral("Cannot open file /nonexistent/x.csv"));
}

TEST(TableFileSave, ASaveThatFailsHalfwayLeavesTheOldFileWhole)
{
    // A file-size limit makes the write fail part way, even for root.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.csv"));
    QString error;
    ASSERT_TRUE(TableFile::saveFile(path, "old\r\n", &error));

    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool ok = TableFile::saveFile(path, QByteArray(4096, 'x'), &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(ok);
    EXPECT_EQ(error, QStringLiteral("Cannot create file %1").arg(path));
    QByteArray content;
    ASSERT_TRUE(TableFile::loadFile(path, &content, &error));
    EXPECT_EQ(content, QByteArray("old\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1); // no temporary file left
}
