// corvalen-cli's directory jobs where the panel's directory and the list
// differ from what a round trip keeps: slots a get passes over are a warning,
// and a put says what it writes that will not come back.
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
    const QString warning = QStringLiteral("1 entr(ies) of %1 without a Name or a RoomNumber (entry 2) are written,\n"
                                           "but directory get and GetData leave such slots out: they will not come back.")
                                .arg(path("list.csv"));
    EXPECT_EQ(summary.value("warnings").toArray(), QJsonArray{warning}) << err().toStdString();
    const QByteArray kept = read(summary.value("backup").toString());
    EXPECT_TRUE(kept.contains(",,0217,,,,,2580\r\n")) << kept.constData(); // the caretaker's slot, in the backup
    QFile::remove(summary.value("backup").toString());
}
