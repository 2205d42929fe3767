// Every job of corvalen-cli against the virtual panel: what it leaves on the
// panel and in its file, and that a get followed by a put of the same file
// changes nothing on the panel.
#include "cli/CliHarness.h"

#include <QJsonDocument>
#include <QJsonObject>

// The upload sorts by name in the locale's collation, so a directory sorted
// otherwise ("van Dijk" after "Zhou") is first rewritten once in that order.
TEST_F(CliOnPanel, DirectoryGetThenPutLeavesThePanelByteForByte)
{
    ASSERT_EQ(run({"directory", "get", path("first.csv")}), 0);
    ASSERT_EQ(run({"directory", "put", path("first.csv")}), 0);
    port.clearLog();
    const QByteArray before = memory();
    ASSERT_EQ(run({"directory", "get", path("gate.csv")}), 0) << err().toStdString();
    const QByteArray list = read(path("gate.csv"));
    EXPECT_TRUE(list.startsWith("Name,RoomNumber,PHnumber,Code1,Code2,spare,RFID,Addr\r\n"));
    EXPECT_EQ(list.count('\n') - 1, qsizetype(DemoData::residents().size()));

    ASSERT_EQ(run({"directory", "put", path("gate.csv")}), 0) << err().toStdString();
    EXPECT_EQ(commandsStartingWith('f'), 1); // the erase, once
    {
        const QByteArray after = memory();
        EXPECT_TRUE(after == before) << differences(before, after).toStdString();
    }
}

TEST_F(CliOnPanel, ParametersGetThenPutLeavesThePanelByteForByte)
{
    const QByteArray before = memory();
    ASSERT_EQ(run({"parameters", "get", path("site.sys")}), 0) << err().toStdString();
    EXPECT_EQ(read(path("site.sys")).size(), 467);
    ASSERT_EQ(run({"--json", "parameters", "put", path("site.sys")}), 0) << err().toStdString();
    EXPECT_EQ(commandsStartingWith('p'), 10);
    {
        const QByteArray after = memory();
        EXPECT_TRUE(after == before) << differences(before, after).toStdString();
    }
    const QJsonObject summary = QJsonDocument::fromJson(console.outText).object();
    EXPECT_EQ(summary.value("counts").toObject().value("refused").toInt(-1), 0);
}

TEST_F(CliOnPanel, AParameterFileChangesWhatItHoldsAndKeepsWhatItDoesNot)
{
    ASSERT_EQ(run({"parameters", "get", path("site.sys")}), 0);
    QByteArray file = read(path("site.sys"));
    const QByteArray record1 = panel.memory().record(1);
    // The first gate code is the file's first field, a counted text.
    file[0] = 4;
    file.replace(1, 4, "9876");
    write(path("site.sys"), file);
    ASSERT_EQ(run({"parameters", "put", path("site.sys")}), 0) << err().toStdString();
    EXPECT_TRUE(panel.memory().record(6).startsWith("9876"));
    EXPECT_EQ(panel.memory().record(1), record1);
}

TEST_F(CliOnPanel, RfidGetThenPutLeavesThePanelByteForByte)
{
    const QByteArray before = memory();
    ASSERT_EQ(run({"--json", "rfid", "get", path("tags.csv")}), 0) << err().toStdString();
    const int codes = QJsonDocument::fromJson(console.outText).object().value("counts").toObject().value("codes").toInt();
    EXPECT_GE(codes, panel.memory().storedTags().size()); // a tag may be stored for two rooms
    EXPECT_GT(codes, 0);
    ASSERT_EQ(run({"rfid", "put", path("tags.csv")}), 0) << err().toStdString();
    {
        const QByteArray after = memory();
        EXPECT_TRUE(after == before) << differences(before, after).toStdString();
    }
}

TEST_F(CliOnPanel, EventsGetSavesTheLogWithBothClocks)
{
    ASSERT_EQ(run({"--json", "events", "get", path("night.Evt")}), 0) << err().toStdString();
    const QList<QByteArray> lines = read(path("night.Evt")).split('\n');
    ASSERT_GT(lines.size(), 3);
    EXPECT_TRUE(lines.at(0).startsWith("Corvalen time when saved was: "));
    EXPECT_TRUE(lines.at(1).startsWith("Current time when Loaded was: "));
    const QJsonObject summary = QJsonDocument::fromJson(console.outText).object();
    EXPECT_EQ(summary.value("counts").toObject().value("events").toInt(), panel.memory().events().size());
    EXPECT_FALSE(summary.value("clock").toObject().value("corvalen_time").toString().isEmpty());
    EXPECT_EQ(summary.value("model").toString(), "Corvalen_1000_Xarn");
}

TEST_F(CliOnPanel, ClockSetTakesTheComputersTimeAndClockGetPrintsIt)
{
    ASSERT_EQ(run({"clock", "set"}), 0) << err().toStdString();
    bool sent = false;
    for (const QByteArray &c : port.commands())
        sent = sent || (c.startsWith('t') && c.size() == 1 + 12);
    EXPECT_TRUE(sent);
    ASSERT_EQ(run({"clock", "get"}), 0);
    EXPECT_TRUE(out().startsWith("Corvalen time: ")) << out().toStdString();
    EXPECT_TRUE(out().contains("\nComputer time: "));
}

TEST_F(CliOnPanel, PinSetAsksTwiceWithoutEchoAndTheNewPinLogsOn)
{
    console.secrets = {"4321", "4321"};
    ASSERT_EQ(run({"pin", "set"}), 0) << err().toStdString();
    EXPECT_EQ(console.questions, QStringList({"New PIN: ", "New PIN again: "}));
    EXPECT_EQ(panel.engine().pin(), QByteArray("4321"));
    EXPECT_TRUE(err().contains("NEW PIN Programmed"));
    // The new PIN never reaches the status bar's texts, so never stderr.
    EXPECT_FALSE(err().contains("4321"));

    env.insert("CORVALEN_PIN", "4321");
    EXPECT_EQ(run({"identify"}), 0);
}

TEST_F(CliOnPanel, PinSetWithTwoDifferentPinsChangesNothingAndOpensNoPort)
{
    console.secrets = {"4321", "4322"};
    EXPECT_EQ(run({"pin", "set"}), 1);
    EXPECT_TRUE(err().contains("The two new PINs differ"));
    EXPECT_EQ(panel.engine().pin(), QByteArray("1234"));
    EXPECT_TRUE(port.commands().isEmpty());
}

TEST_F(CliOnPanel, IdentifyPrintsTheModelAndLogsOff)
{
    EXPECT_EQ(run({"identify"}), 0);
    EXPECT_EQ(out(), "Corvalen_1000_Xarn\n");
    EXPECT_EQ(port.commands().last(), QByteArray("x"));
    EXPECT_FALSE(port.isOpen());
}

// A put keeps what the panel held before its first write, names the backup
// in its summary, and the backup holds the residents the put replaced.
TEST_F(CliOnPanel, APutKeepsWhatThePanelHeldAndSaysWhere)
{
    ASSERT_EQ(run({"directory", "get", path("gate.csv")}), 0) << err().toStdString();
    QByteArray list = read(path("gate.csv"));
    const int firstLineEnd = list.indexOf('\n', list.indexOf('\n') + 1);
    list.remove(list.indexOf('\n') + 1, firstLineEnd - list.indexOf('\n')); // one resident fewer
    write(path("smaller.csv"), list);

    ASSERT_EQ(run({"--json", "directory", "put", path("smaller.csv")}), 0) << err().toStdString();
    const QString backup = QJsonDocument::fromJson(console.outText).object().value("backup").toString();
    ASSERT_FALSE(backup.isEmpty());
    EXPECT_TRUE(err().contains(QStringLiteral("Backup saved to"))) << err().toStdString();
    const QByteArray kept = read(backup);
    EXPECT_EQ(kept.count('\n') - 1, qsizetype(DemoData::residents().size()));
    EXPECT_EQ(commandsStartingWith('f'), 1);
    QFile::remove(backup);

    ASSERT_EQ(run({"directory", "get", path("today.csv")}), 0);
    EXPECT_EQ(read(path("today.csv")).count('\n') - 1, qsizetype(DemoData::residents().size()) - 1);
}
