#include "table/SpreadsheetFile.h"
#include "table/TableFile.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {
QList<Table::Field> phoneLike()
{
    return {{"Name", 16}, {"RoomNumber", 6}, {"PHnumber", 16}, {"Code1", 4},
            {"Code2", 4}, {"spare", 2}, {"RFID", 10}, {"Addr", 4}};
}

QList<QByteArray> column(const TableRead &read, int field)
{
    QList<QByteArray> out;
    for (const QList<QByteArray> &row : read.rows)
        out << row.at(field);
    return out;
}

QByteArray utf16le(const QString &text)
{
    return QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}
} // namespace

// Files as this program and as spreadsheet programs write them; the
// program's own files read exactly by its own rules.
TEST(TableFileRead, EachFormReadsIntoTheRightFields)
{
    const struct
    {
        const char *what;
        QByteArray bytes;
        bool spreadsheet;
        QList<QByteArray> names, rooms;
    } cases[] = {
        {"own: a name beginning with a quote, escapes", "Name,RoomNumber\r\n\"Bob\" Jr,1\r\n50%% off%m,2\r\n", false,
         {"\"Bob\" Jr", "50% off,"}, {"1", "2"}},
        {"own: Latin-1 letters", "Name,RoomNumber\r\nM\xFC" "ller,1\r\nJos\xE9,2\r\n", false,
         {"M\xFC" "ller", "Jos\xE9"}, {"1", "2"}},
        {"own: an unquoted comma splits", "Name,RoomNumber\r\nSmith, J,1\r\n", false, {"Smith"}, {" J"}},
        {"own: a stray quote keeps the own form", "Name,RoomNumber\r\n\"Bob\" Jr, x,1\r\n", false,
         {"\"Bob\" Jr"}, {" x"}},
        {"BOM, quoted comma and doubled quotes, CR LF",
         "\xEF\xBB\xBFName,RoomNumber,PHnumber\r\n\"Smith, J\",101,0211\r\n\"Say \"\"Hi\"\"\",102,\r\n", true,
         {"Smith, J", "Say \"Hi\""}, {"101", "102"}},
        {"semicolon separator, LF", "Name;RoomNumber\n\"A;B\";1\nC,D;2\n", true, {"A;B", "C,D"}, {"1", "2"}},
        {"tab separator", "Name\tRoomNumber\r\nA, B\t1\r\n", true, {"A, B"}, {"1"}},
        {"UTF-8 without BOM, cut after the accents",
         "Name,RoomNumber\r\nM\xC3\xBCller,1\r\nJos\xC3\xA9 Mar\xC3\xAD" "a Fern\xC3\xA1ndez,2\r\n", true,
         {"M\xFC" "ller", "Jos\xE9 Mar\xED" "a Fern\xE1"}, {"1", "2"}},
        {"outside Latin-1, decomposed accent",
         "\xEF\xBB\xBFName,RoomNumber\r\n\xC5\x81ukasz,1\r\nZo\xC3\xAB \xE2\x82\xAC,2\r\nJose\xCC\x81,3\r\n", true,
         {"?ukasz", "Zo\xEB ?", "Jos\xE9"}, {"1", "2", "3"}},
        {"quoted header, a line break in a cell, blank and empty rows",
         "\"Name\",\"RoomNumber\"\n\"Line\r\nbreak\",1\n\n,\n\"\",\"\"\nLast,2", true, {"Line\r\nbreak", "Last"},
         {"1", "2"}},
        {"8-bit spreadsheet file quoting a comma",
         "Name,RoomNumber,PHnumber\r\n\"Smith, J\",101,0211\r\nM\xFC" "ller,102,\r\n", true,
         {"Smith, J", "M\xFC" "ller"}, {"101", "102"}},
        {"UTF-16 with BOM", utf16le(QStringLiteral("Name\tRoomNumber\r\nM\u00FCller\t1\r\n")), true,
         {"M\xFC" "ller"}, {"1"}},
    };
    for (const auto &c : cases) {
        const TableRead read = TableFile::read(c.bytes, phoneLike());
        EXPECT_EQ(read.spreadsheet, c.spreadsheet) << c.what;
        EXPECT_EQ(column(read, 0), c.names) << c.what;
        EXPECT_EQ(column(read, 1), c.rooms) << c.what;
        if (!c.spreadsheet) {
            EXPECT_EQ(read.rows, TableFile::parse(c.bytes, phoneLike())) << c.what;
        }
    }
}

TEST(TableFileRead, ASpreadsheetFileListsWhatItLostByRow)
{
    const QByteArray file = "\xEF\xBB\xBF\r\nName,Room,RoomNumber,RFID\r\n"
                            "\xC5\x81ukasz,x,1,\r\n"
                            "\"Two\r\nlines\",,2,0A1B2C3D4E5F\r\n"
                            "A name much longer than sixteen,,3,\r\n";
    const TableRead read = TableFile::read(file, phoneLike());
    EXPECT_EQ(read.unusedColumns, QStringList{QStringLiteral("Room")});
    EXPECT_EQ(read.fileRows, (QList<int>{3, 4, 6}));
    ASSERT_EQ(read.changes.size(), 3);
    EXPECT_TRUE(read.changes[0].replaced);
    EXPECT_EQ(read.changes[0].original, QStringLiteral("\u0141ukasz"));
    EXPECT_EQ(read.changes[1].entry, 1);
    EXPECT_EQ(read.changes[1].field, 6);
    EXPECT_TRUE(read.changes[1].cut);
    EXPECT_EQ(read.changes[2].original, QStringLiteral("A name much longer than sixteen"));
    EXPECT_FALSE(read.changes[2].replaced);
}

TEST(SpreadsheetFileWrite, ExportedTablesOfAnyBytesOpenAsTheSameTable)
{
    QRandomGenerator rng(4242);
    for (char separator : {',', ';'}) {
        for (int round = 0; round < 40; ++round) {
            Table t;
            t.redefine(phoneLike());
            t.open();
            const int rows = int(rng.bounded(15));
            for (int r = 0; r < rows; ++r) {
                QList<QByteArray> values;
                for (const Table::Field &f : phoneLike()) {
                    QByteArray v;
                    const int len = int(rng.bounded(f.width + 1));
                    for (int i = 0; i < len; ++i)
                        v.append(char(rng.bounded(256)));
                    values << v;
                }
                values[0].append('x'); // an entry with no value at all is not kept
                t.appendRecord(values);
            }
            const QByteArray bytes = SpreadsheetFile::format(t, separator);
            ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBFName"));
            const TableRead read = TableFile::read(bytes, phoneLike());
            ASSERT_TRUE(read.spreadsheet);
            ASSERT_TRUE(read.changes.isEmpty());
            ASSERT_EQ(read.rows.size(), t.count());
            for (int r = 0; r < t.count(); ++r)
                ASSERT_EQ(read.rows[r], t.row(r)) << "round " << round << " row " << r;
        }
    }
}

TEST(SpreadsheetFileWrite, QuotesOnlyWhereNeededInUtf8WithTheLocalesSeparator)
{
    Table t;
    t.redefine({{"Name", 16}, {"RoomNumber", 6}});
    t.open();
    t.appendRecord({"M\xFC" "ller; \"Jo\"", "1"});
    t.appendRecord({"Smith, J", "2"});
    EXPECT_EQ(SpreadsheetFile::format(t, ','),
              QByteArray("\xEF\xBB\xBFName,RoomNumber\r\n\"M\xC3\xBCller; \"\"Jo\"\"\",1\r\n\"Smith, J\",2\r\n"));
    EXPECT_EQ(SpreadsheetFile::format(t, ';'),
              QByteArray("\xEF\xBB\xBFName;RoomNumber\r\n\"M\xC3\xBCller; \"\"Jo\"\"\";1\r\nSmith, J;2\r\n"));
    EXPECT_EQ(SpreadsheetFile::separatorFor(QLocale(QLocale::German, QLocale::Germany)), ';');
    EXPECT_EQ(SpreadsheetFile::separatorFor(QLocale(QLocale::English, QLocale::UnitedKingdom)), ',');
}

// A value a spreadsheet program would run as a formula, or whose start it
// would hide, goes out as text (an apostrophe in front) and comes back as
// it was; other values, apostrophes included, go out as they stand.
TEST(SpreadsheetFileWrite, ValuesThatWouldRunAsFormulasGoOutAsTextAndComeBackWhole)
{
    const QList<QByteArray> names = {"=1+1", "@SUM(A1)", "-2+3", "+41 44", "\tTab", "\rCR", "\nLF",
                                     "'=x", "''-1", "'", "'plain", "don't", "a=b", "0042"};
    const QList<QByteArray> written = {"'=1+1", "'@SUM(A1)", "'-2+3", "'+41 44", "'\tTab", "\"'\rCR\"",
                                       "\"'\nLF\"", "''=x", "'''-1", "'", "'plain", "don't", "a=b", "0042"};
    Table t;
    t.redefine({{"Name", 16}, {"RoomNumber", 6}});
    t.open();
    for (const QByteArray &name : names)
        t.appendRecord({name, "1"});
    QByteArray expected = QByteArray(SpreadsheetFile::kUtf8Bom) + "Name,RoomNumber\r\n";
    for (const QByteArray &value : written)
        expected += value + ",1\r\n";
    const QByteArray bytes = SpreadsheetFile::format(t, ',');
    EXPECT_EQ(bytes, expected);

    const TableRead read = TableFile::read(bytes, t.fields());
    EXPECT_EQ(column(read, 0), names);
    EXPECT_TRUE(read.changes.isEmpty());
    // A value of full width is cut after its apostrophe is gone, not before.
    t.appendRecord({"=123456789012345", "2"});
    EXPECT_EQ(TableFile::read(SpreadsheetFile::format(t, ';'), t.fields()).rows.last().first(),
              QByteArray("=123456789012345"));
}

// What a spreadsheet program saves keeps the apostrophe that made a value
// text; opening such a list takes exactly one off. The program's own form
// has no such rule.
TEST(TableFileRead, ASpreadsheetsApostropheBeforeAFormulaIsTakenOffOnce)
{
    const TableRead sheet = TableFile::read(
        "\xEF\xBB\xBFName;RoomNumber\r\n'=1+1;'-1\r\n''@x;'0042\r\n\"'\nA\";'\r\n", phoneLike());
    ASSERT_TRUE(sheet.spreadsheet);
    EXPECT_EQ(column(sheet, 0), (QList<QByteArray>{"=1+1", "'@x", "\nA"}));
    EXPECT_EQ(column(sheet, 1), (QList<QByteArray>{"-1", "'0042", "'"}));

    const TableRead own = TableFile::read("Name,RoomNumber\r\n'=1+1,'-1\r\n", phoneLike());
    ASSERT_FALSE(own.spreadsheet);
    EXPECT_EQ(own.rows.first().mid(0, 2), (QList<QByteArray>{"'=1+1", "'-1"}));
}
