// corvalen-cli when things go wrong: the window's message on stderr, the
// documented exit status, and no file half written or replaced.
#include "cli/CliHarness.h"

#include <QFileDevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

TEST_F(CliOnPanel, ASilentPanelIsALinkFailureAndLeavesTheOldFile)
{
    write(path("gate.csv"), "old list\r\n");
    panel.faults().silent = true;
    EXPECT_EQ(run({"--json", "directory", "get", path("gate.csv")}), 3);
    EXPECT_TRUE(err().contains("No Reponse from Corvalen\n")) << err().toStdString();
    EXPECT_EQ(read(path("gate.csv")), QByteArray("old list\r\n"));
    const QJsonObject summary = QJsonDocument::fromJson(console.outText).object();
    EXPECT_EQ(summary.value("result").toString(), "link failed");
    EXPECT_TRUE(summary.value("model").isNull());
}

TEST_F(CliOnPanel, AWrongPinIsARefusalWithTheWindowsTwoLines)
{
    env.insert("CORVALEN_PIN", "9999");
    EXPECT_EQ(run({"identify"}), 1);
    EXPECT_TRUE(err().contains("Failed to Connect\nCheck PIN\n")) << err().toStdString();
    EXPECT_TRUE(out().isEmpty());
}

// The panel's answer to the PIN is cut off by the line going away: the
// link failed, the PIN was not refused.
TEST_F(CliOnPanel, ALineLostWhileThePinWaitsIsALinkFailureNotARefusal)
{
    onCommand("a", [](PanelFaults &f) { f.dropLineAfter = 2; });
    EXPECT_EQ(run({"--json", "identify"}), 3);
    EXPECT_TRUE(err().contains("Connection lost: The panel hung up\n")) << err().toStdString();
    EXPECT_FALSE(err().contains("Check PIN")) << err().toStdString();
    const QJsonObject summary = QJsonDocument::fromJson(console.outText).object();
    EXPECT_EQ(summary.value("result").toString(), "link failed");
    EXPECT_EQ(summary.value("model").toString(), "Corvalen_1000_Xarn");
}

TEST_F(CliOnPanel, APortThatDoesNotOpenIsALinkFailure)
{
    port.setOpenFails(true);
    EXPECT_EQ(run({"--port", "/dev/ttyUSB7", "identify"}), 3);
    EXPECT_TRUE(err().contains("Serial Communication Error"));
    EXPECT_EQ(devices.device(2), "/dev/ttyUSB7");
}

TEST_F(CliOnPanel, AStallMidReplyEndsTheDownloadWithoutTouchingTheFile)
{
    write(path("gate.csv"), "old list\r\n");
    onCommand("d0128", [](PanelFaults &f) { f.stallAfter = 700; });
    EXPECT_EQ(run({"directory", "get", path("gate.csv")}), 3);
    EXPECT_TRUE(err().contains("communication error\n"));
    EXPECT_EQ(read(path("gate.csv")), QByteArray("old list\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"gate.csv"})); // no temporary left
}

TEST_F(CliOnPanel, ADroppedOkEndsTheEventDownloadAsNotOnLine)
{
    onCommand("e", [](PanelFaults &f) { f.dropOk = true; });
    EXPECT_EQ(run({"events", "get", path("night.Evt")}), 3);
    EXPECT_TRUE(err().contains("Not on line\n"));
    EXPECT_FALSE(QFile::exists(path("night.Evt")));
}

TEST_F(CliOnPanel, ADroppedOkToTheEraseIsRetriedAndTheUploadCompletes)
{
    ASSERT_EQ(run({"directory", "get", path("gate.csv")}), 0);
    ASSERT_EQ(run({"directory", "put", path("gate.csv")}), 0);
    port.clearLog();
    const QByteArray before = memory();
    onCommand("f5a", [](PanelFaults &f) { f.dropOk = true; });
    EXPECT_EQ(run({"directory", "put", path("gate.csv")}), 0) << err().toStdString();
    EXPECT_EQ(commandsStartingWith('f'), 2);
    {
        const QByteArray after = memory();
        EXPECT_TRUE(after == before) << differences(before, after).toStdString();
    }
}

TEST_F(CliOnPanel, ARefusedParameterRecordIsARefusalNamingTheRecord)
{
    ASSERT_EQ(run({"parameters", "get", path("site.sys")}), 0);
    onCommand("p0006", [](PanelFaults &f) { f.errorP = 4; });
    EXPECT_EQ(run({"--json", "parameters", "put", path("site.sys")}), 1);
    EXPECT_TRUE(err().contains("There was an error\nin writing the Codes\n")) << err().toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(console.outText).object().value("counts").toObject().value("refused").toInt(), 1);
}

TEST_F(CliOnPanel, AParameterReadThatStallsSavesNothing)
{
    write(path("site.sys"), "old");
    onCommand("d0002", [](PanelFaults &f) { f.stallAfter = 40; });
    EXPECT_EQ(run({"parameters", "get", path("site.sys")}), 3);
    EXPECT_TRUE(err().contains("The Corvalen did not answer every read."));
    EXPECT_EQ(read(path("site.sys")), QByteArray("old"));
}

TEST_F(CliOnPanel, AParameterPutThatCannotReadFirstWritesNothing)
{
    ASSERT_EQ(run({"parameters", "get", path("site.sys")}), 0);
    onCommand("r0006", [](PanelFaults &f) { f.silent = true; });
    EXPECT_EQ(run({"parameters", "put", path("site.sys")}), 3);
    EXPECT_EQ(commandsStartingWith('p'), 0);
}

TEST_F(CliOnPanel, AnRfidCodeOfTheWrongLengthStopsTheWriteBeforeTheErase)
{
    write(path("tags.csv"), "Name,RoomNumber,PHnumber,Code1,Code2,spare,RFID,Addr\r\n"
                            "Adams Helen,101,,,,,04A1B2C3D,1000\r\n");
    const QByteArray before = memory();
    EXPECT_EQ(run({"--json", "--quiet", "rfid", "put", path("tags.csv")}), 1);
    EXPECT_TRUE(err().contains("Note, the current record has\nincorrect RFID data format.\nrescan or erase the code."));
    // The note is why the job failed: the JSON names it too.
    const QJsonArray errors = QJsonDocument::fromJson(console.outText).object().value("errors").toArray();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.at(0).toString().startsWith("Note, the current record has\nincorrect RFID data format."));
    EXPECT_EQ(commandsStartingWith('c'), 0);
    {
        const QByteArray after = memory();
        EXPECT_TRUE(after == before) << differences(before, after).toStdString();
    }
}

TEST_F(CliOnPanel, AListThatCannotBeReadCostsNoLogOn)
{
    EXPECT_EQ(run({"directory", "put", path("missing.csv")}), 1);
    EXPECT_TRUE(err().contains("Cannot open file"));
    EXPECT_TRUE(port.commands().isEmpty());
}

TEST_F(CliOnPanel, AnEmptyListIsRefusedWithoutTouchingThePanel)
{
    write(path("empty.csv"), "Name,RoomNumber,PHnumber,Code1,Code2,spare,RFID,Addr\r\n");
    const QByteArray before = memory();
    EXPECT_EQ(run({"directory", "put", path("empty.csv")}), 1);
    EXPECT_TRUE(err().contains("holds no entries"));
    EXPECT_EQ(commandsStartingWith('f'), 0);
    {
        const QByteArray after = memory();
        EXPECT_TRUE(after == before) << differences(before, after).toStdString();
    }
}

TEST_F(CliOnPanel, AGetIntoAFolderThatCannotBeWrittenCostsNoLogOn)
{
    EXPECT_EQ(run({"events", "get", path("no/such/folder/night.Evt")}), 1);
    EXPECT_TRUE(err().contains("Cannot create file"));
    EXPECT_TRUE(port.commands().isEmpty());
}

// A panel that names a model the program does not know (or answers the
// wake-up too slowly to name one): identify and directory put say so, with
// what the panel sent, on stderr and in the JSON.
TEST_F(CliOnPanel, AnUnknownModelIsSaidWithTheIdentityThePanelSent)
{
    ASSERT_EQ(run({"directory", "get", path("gate.csv")}), 0) << err().toStdString();
    panel.engine().setIdentity("Corvalen_2000_Xarn");

    EXPECT_EQ(run({"identify"}), 1);
    EXPECT_EQ(out(), "unknown\n");
    EXPECT_TRUE(err().contains("model was not recognised: it named itself \"Corvalen_2000_Xarn\""))
        << err().toStdString();

    const QByteArray before = memory();
    EXPECT_EQ(run({"--json", "directory", "put", path("gate.csv")}), 1);
    const QJsonObject summary = QJsonDocument::fromJson(console.outText).object();
    const QString errors = summary.value("errors").toVariant().toStringList().join('|');
    EXPECT_TRUE(errors.contains("Corvalen_2000_Xarn")) << errors.toStdString();
    EXPECT_FALSE(err().contains("is the limit")) << err().toStdString();
    EXPECT_EQ(commandsStartingWith('f'), 0);
    {
        const QByteArray after = memory();
        EXPECT_TRUE(after == before) << differences(before, after).toStdString();
    }

    // A get still works, with the same words as a warning.
    EXPECT_EQ(run({"--json", "directory", "get", path("again.csv")}), 0);
    const QJsonArray warnings = QJsonDocument::fromJson(console.outText).object().value("warnings").toArray();
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings.at(0).toString().contains("Corvalen_2000_Xarn"));
}

// A parameter file with a value that is not a whole number (here "µ" as
// the run timer) is refused before the log-on: no gate code or message of
// the file reaches the panel.
TEST_F(CliOnPanel, AParameterFileWithABadNumberChangesNothingOnThePanel)
{
    ASSERT_EQ(run({"parameters", "get", path("site.sys")}), 0);
    QByteArray file = read(path("site.sys"));
    file[0] = 4; // the first gate code, a counted text
    file.replace(1, 4, "9876");
    file[295] = 1; // Phs_run
    file[296] = '\xB5';
    write(path("site.sys"), file);
    port.clearLog();
    const QByteArray before = memory();

    EXPECT_EQ(run({"--json", "parameters", "put", path("site.sys")}), 1);
    EXPECT_TRUE(err().contains(QStringLiteral("'\u00B5' is not a valid integer value"))) << err().toStdString();
    EXPECT_TRUE(port.commands().isEmpty());
    const QJsonArray errors = QJsonDocument::fromJson(console.outText).object().value("errors").toArray();
    ASSERT_FALSE(errors.isEmpty());
    EXPECT_TRUE(errors.at(0).toString().endsWith("is not a valid integer value"));
    {
        const QByteArray after = memory();
        EXPECT_TRUE(after == before) << differences(before, after).toStdString();
    }
}
