// What corvalen-cli's puts take from a list before they touch the panel:
// only phone lists, rooms that fit, a tag store that is not emptied by
// mistake, and every loss said as a warning (refused with --strict), also
// under --quiet and in the JSON.
#include "cli/CliHarness.h"
#include "cli/CliInterrupt.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <csignal>

namespace {
const QByteArray kHeader = "Name,RoomNumber,PHnumber,Code1,Code2,spare,RFID,Addr\r\n";

QStringList texts(const QJsonValue &array)
{
    QStringList out;
    for (const QJsonValue &v : array.toArray())
        out << v.toString();
    return out;
}
} // namespace

TEST_F(CliOnPanel, APutOfAFileThatIsNotAPhoneListIsRefusedBeforeTheLogOn)
{
    ASSERT_EQ(run({"events", "get", path("night.Evt")}), 0);
    ASSERT_EQ(run({"rfid", "get", path("tags.csv")}), 0);
    write(path("services"), "# Network services, Internet style\n#\ntcpmux\t\t1/tcp\n");
    write(path("garbage.bin"), QByteArray("\x01\x02\x03\xff\xfe", 5) + QByteArray(300, '\0') + "x,y\r\n");
    port.clearLog();
    const QByteArray before = memory();

    const struct
    {
        const char *file;
        const char *says;
    } refused[] = {
        {"night.Evt", "is not a phone list"},
        {"services", "its first line reads \"# Network services, Internet style\""},
        {"garbage.bin", "holds binary data"},
        {"tags.csv", "has both a Name and a Room"}, // rooms and codes only
    };
    for (const auto &r : refused) {
        EXPECT_EQ(run({"directory", "put", path(r.file)}), 1) << r.file;
        EXPECT_TRUE(err().contains(QLatin1String(r.says))) << r.file << ": " << err().toStdString();
        EXPECT_TRUE(err().contains("Nothing was written to the Corvalen."));
    }
    EXPECT_EQ(run({"rfid", "put", path("night.Evt")}), 1);
    EXPECT_EQ(run({"rfid", "put", path("garbage.bin")}), 1);
    EXPECT_TRUE(port.commands().isEmpty());
    {
        const QByteArray after = memory();
        EXPECT_TRUE(after == before) << differences(before, after).toStdString();
    }
}

// A phone list from directory get carries no codes: as the tag store's
// new content it would erase every tag.
TEST_F(CliOnPanel, AnRfidPutThatWouldEmptyTheStoreNeedsAllowEmpty)
{
    ASSERT_EQ(run({"directory", "get", path("gate.csv")}), 0);
    ASSERT_FALSE(panel.memory().storedTags().isEmpty());
    port.clearLog();
    const QByteArray before = memory();

    EXPECT_EQ(run({"--json", "rfid", "put", path("gate.csv")}), 1);
    EXPECT_TRUE(err().contains("holds no RFID codes")) << err().toStdString();
    EXPECT_TRUE(err().contains("--allow-empty"));
    EXPECT_TRUE(port.commands().isEmpty());
    EXPECT_EQ(texts(QJsonDocument::fromJson(console.outText).object().value("errors")).size(), 1);
    {
        const QByteArray after = memory();
        EXPECT_TRUE(after == before) << differences(before, after).toStdString();
    }

    EXPECT_EQ(run({"--allow-empty", "rfid", "put", path("gate.csv")}), 0) << err().toStdString();
    EXPECT_TRUE(panel.memory().storedTags().isEmpty());
    EXPECT_EQ(run({"--allow-empty", "directory", "put", path("gate.csv")}), 2); // for rfid put only
}

TEST_F(CliOnPanel, ARoomThatDoesNotFitRefusesThePutAndOtherLossesAreWarnings)
{
    write(path("rooms.csv"), kHeader + "Adams Helen,101,0171 555 1234,,,,,\r\nBaker Tom,1023456789012,,,,,,\r\n");
    EXPECT_EQ(run({"directory", "put", path("rooms.csv")}), 1);
    EXPECT_TRUE(err().contains("row 3 \"Baker Tom\" \"1023456789012\"")) << err().toStdString();
    EXPECT_TRUE(port.commands().isEmpty());

    write(path("lossy.csv"), kHeader + "Adams Helen-Smithson,101,0171 555 1234,,,,,\r\nBaker Tom,102,abc-def,,,,,\r\n");
    EXPECT_EQ(run({"--quiet", "--json", "directory", "put", path("lossy.csv")}), 0) << err().toStdString();
    const QStringList warnings = texts(QJsonDocument::fromJson(console.outText).object().value("warnings"));
    ASSERT_EQ(warnings.size(), 3) << warnings.join('\n').toStdString();
    EXPECT_TRUE(warnings.at(0).startsWith("row 2 \"Adams Helen-Smithson\": Name cut to 16 characters"));
    EXPECT_TRUE(warnings.at(1).startsWith("row 2 \"Adams Helen-Smithson\": PHnumber \"0171 555 1234\" goes as \"0171\""));
    EXPECT_TRUE(warnings.at(2).startsWith("row 3 \"Baker Tom\": PHnumber \"abc-def\" goes as nothing"));
    for (const QString &w : warnings)
        EXPECT_TRUE(err().contains("Warning: " + w)) << err().toStdString();
}

// A spreadsheet list with a letter the panel cannot show: the window tells
// it on Open; a quiet, scripted put tells it too, and --strict refuses it.
TEST_F(CliOnPanel, ALossySpreadsheetImportIsAWarningEvenQuietAndRefusedWhenStrict)
{
    write(path("sheet.csv"), QByteArray("\xEF\xBB\xBF") + "Name;RoomNumber;PHnumber\r\n"
                                                          "\xC5\x81ukasz;101;0171\r\n"
                                                          "Nowak Jan;102;0172\r\n");
    EXPECT_EQ(run({"--quiet", "--json", "--strict", "directory", "put", path("sheet.csv")}), 1);
    EXPECT_TRUE(port.commands().isEmpty());
    const QJsonObject refused = QJsonDocument::fromJson(console.outText).object();
    EXPECT_EQ(texts(refused.value("warnings")).size(), 1);
    EXPECT_TRUE(texts(refused.value("errors")).join('|').contains("--strict"));

    EXPECT_EQ(run({"--quiet", "--json", "directory", "put", path("sheet.csv")}), 0) << err().toStdString();
    const QStringList warnings = texts(QJsonDocument::fromJson(console.outText).object().value("warnings"));
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings.at(0).contains(QStringLiteral("\"\u0141ukasz\" goes as \"?ukasz\"")))
        << warnings.at(0).toStdString();
    EXPECT_TRUE(err().contains(QStringLiteral("Warning: row 2 \"\u0141ukasz\"")));
}

// "-": a get writes the list to standard output, a put reads it from
// standard input; a --json summary then goes to standard error.
TEST_F(CliOnPanel, ADashIsStandardOutputForAGetAndStandardInputForAPut)
{
    ASSERT_EQ(run({"directory", "get", path("gate.csv")}), 0);
    const QByteArray list = read(path("gate.csv"));

    ASSERT_EQ(run({"--json", "directory", "get", "-"}), 0) << err().toStdString();
    EXPECT_EQ(console.outText, list);
    const QList<QByteArray> errLines = console.errText.trimmed().split('\n');
    const QJsonObject summary = QJsonDocument::fromJson(errLines.last()).object();
    EXPECT_EQ(summary.value("file").toString(), "-");
    EXPECT_EQ(summary.value("result").toString(), "done");
    EXPECT_FALSE(QFile::exists(QDir(dir.path()).filePath("-")));

    ASSERT_EQ(run({"parameters", "get", "-"}), 0);
    EXPECT_EQ(console.outText.size(), 467);

    port.clearLog();
    console.input = list;
    ASSERT_EQ(run({"--json", "directory", "put", "-"}), 0) << err().toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(console.outText).object().value("counts").toObject().value("written").toInt(),
              list.count('\n') - 1);
    console.input = std::nullopt; // standard input closed or unreadable
    EXPECT_EQ(run({"directory", "put", "-"}), 1);
    EXPECT_TRUE(err().contains("Cannot open file standard input")) << err().toStdString();
}

// SIGINT or SIGTERM during a put: the rewrite stops after the entry being
// written, the program logs off, says what was written and where the
// backup is, prints the summary and ends with status 1.
TEST_F(CliOnPanel, AnInterruptedPutStopsAtTheNextEntryLogsOffAndSaysWhatItDid)
{
    ASSERT_EQ(run({"directory", "get", path("gate.csv")}), 0);
    ASSERT_EQ(run({"directory", "put", path("gate.csv")}), 0);
    port.clearLog();
    // During the third entry's write.
    onCommand("b0130", [](PanelFaults &) { CliInterrupt::active()->interrupt(SIGTERM); });
    EXPECT_EQ(run({"--json", "directory", "put", path("gate.csv")}), 1);
    EXPECT_EQ(commandsStartingWith('b'), 3);
    EXPECT_EQ(port.commands().last(), QByteArray("x"));
    EXPECT_TRUE(err().contains(QStringLiteral("3 of %1 entries written").arg(DemoData::residents().size())))
        << err().toStdString();
    const QJsonObject summary = QJsonDocument::fromJson(console.outText).object();
    EXPECT_EQ(summary.value("interrupted").toString(), "SIGTERM");
    EXPECT_EQ(summary.value("exit").toInt(), 1);
    const QString backup = summary.value("backup").toString();
    ASSERT_FALSE(backup.isEmpty());
    EXPECT_TRUE(texts(summary.value("errors")).join('|').contains("What the Corvalen held before is kept in " + backup));
    QFile::remove(backup);
    EXPECT_EQ(CliInterrupt::active(), nullptr);
}
