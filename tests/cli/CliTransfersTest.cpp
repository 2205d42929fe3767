// corvalen-cli's directory jobs where the panel's directory and the list
// differ from what a round trip keeps: slots a get passes over are a warning,
// a put says what it writes that will not come back, checks that need no
// panel come before the backup read, and a panel that falls silent ends a put
// within seconds as a lost line.
#include "cli/CliHarness.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
QJsonObject summaryOf(const QByteArray &out)
{
    return QJsonDocument::fromJson(out).object();
}
} // namespace

TEST_F(CliOnPanel, AGetWarnsOfSlotsHoldingDataWithoutNameOrRoomEvenWhenQuiet)
{
    panel.memory().setRecord(300, "101,,,,0211111111,"); // no Name
    EXPECT_EQ(run({"--quiet", "--json", "directory", "get", path("gate.csv")}), 0) << err().toStdString();
    const QString warning = QStringLiteral("1 slot(s) of the Corvalen hold data without a Name or a RoomNumber: "
                                           "2580\nThey were left out of the table, as empty slots are.");
    EXPECT_TRUE(err().contains(warning + '\n')) << err().toStdString();
    const QJsonObject summary = summaryOf(console.outText);
    EXPECT_EQ(summary.value("warnings").toArray(), QJsonArray{warning});
    EXPECT_TRUE(summary.value("errors").toArray().isEmpty());
    EXPECT_FALSE(read(path("gate.csv")).contains("0211111111"));
}

TEST_F(CliOnPanel, APutWarnsOfEntriesWithoutNameOrRoomAndItsBackupKeepsSuchSlots)
{
    panel.memory().setRecord(300, ",,,,0217,Caretaker"); // no RoomNumber
    write(path("list.csv"), "Name,RoomNumber,PHnumber\r\nAdams,101,0211\r\n,102,0212\r\n");
    EXPECT_EQ(run({"--json", "directory", "put", path("list.csv")}), 0) << err().toStdString();
    const QJsonObject summary = summaryOf(console.outText);
    const QString warning =
        QStringLiteral("row 3: no Name: the Corvalen takes an entry without a Name or a Room for an empty slot");
    EXPECT_EQ(summary.value("warnings").toArray(), QJsonArray{warning}) << err().toStdString();
    const QByteArray kept = read(summary.value("backup").toString());
    EXPECT_TRUE(kept.contains(",,0217,,,,,2580\r\n")) << kept.constData(); // the caretaker's slot, in the backup
    QFile::remove(summary.value("backup").toString());
}

TEST_F(CliOnPanel, APutOverTheModelsLimitIsRefusedBeforeTheBackupReadsThePanel)
{
    QByteArray list = "Name,RoomNumber\r\n";
    for (int i = 0; i < 1025; ++i)
        list += "Resident " + QByteArray::number(i) + ',' + QByteArray::number(i + 1) + "\r\n";
    write(path("big.csv"), list);
    const QByteArray before = memory();
    EXPECT_EQ(run({"directory", "put", path("big.csv")}), 1);
    EXPECT_TRUE(err().contains("1024 is the limit.\n")) << err().toStdString();
    EXPECT_EQ(commandsStartingWith('d'), 0);
    EXPECT_EQ(memory(), before);
}

TEST_F(CliOnPanel, APanelThatFallsSilentDuringAPutIsALostLineWithinSeconds)
{
    write(path("list.csv"), "Name,RoomNumber\r\nAdams,101\r\nBaker,102\r\nCarter,103\r\n");
    onCommand("b0129", [](PanelFaults &f) { f.silent = true; });
    const qint64 start = clock.nowNs();
    EXPECT_EQ(run({"--json", "directory", "put", path("list.csv")}), 3) << err().toStdString();
    EXPECT_LT(clock.nowNs() - start, 30000000000LL); // the log-on and the backup read included
    EXPECT_TRUE(err().contains("The Corvalen stopped answering: no reply came to the last writes.\n"
                               "Upload did not finish,\n1 of 3 entries written.\n"))
        << err().toStdString();
    const QJsonObject summary = summaryOf(console.outText);
    EXPECT_EQ(summary.value("result").toString(), "link failed");
    QFile::remove(summary.value("backup").toString());
}
