// The phone directory's single writes, deletes and upload against the
// virtual panel on virtual time: what the panel holds afterwards.
#include "directory/DirectoryTransfer.h"
#include "directory/PhoneEditor.h"
#include "directory/PhoneListFile.h"
#include "link/Connection.h"
#include "support/AppHarness.h"
#include "support/EnginePanel.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QByteArray kHeader = "Name,RoomNumber,PHnumber,Code1,Code2,spare,RFID,Addr\r\n";
const QByteArray kAdams = "101,,,,0211,Adams Helen";

struct DirectoryOnEnginePanel : ::testing::Test
{
    AppHarness h;
    EnginePanel panel{h.port, QStringLiteral("100")};
    Connection connection{h.ctx}; // goes offline when the line drops
    DirectoryTransfer transfer{h.ctx};
    PhoneEditor editor{h.ctx};
    Table &table = h.directory.PhoneTable;
    QTemporaryDir dir;

    void SetUp() override
    {
        panel.memory().setRecord(128, kAdams);
        h.logOnWithPin("1234", 0x1D00);
    }
    bool openList(const QByteArray &rows)
    {
        QFile file(dir.filePath(QStringLiteral("list.csv")));
        return file.open(QIODevice::WriteOnly) && file.write(kHeader + rows) > 0 && (file.close(), true)
            && PhoneListFile(h.ctx).open(file.fileName());
    }
};
} // namespace

TEST_F(DirectoryOnEnginePanel, DeleteAfterOpeningAnotherListLeavesThePanelsResidentAlone)
{
    transfer.GetDataClick();
    ASSERT_TRUE(h.link.conn().DirectorySynced);
    ASSERT_TRUE(openList("Old Tenant,101,,,,,,1000\r\n"));
    EXPECT_TRUE(editor.navigatorDelete());
    EXPECT_EQ(table.count(), 0);
    EXPECT_EQ(panel.memory().record(128), kAdams);
}

TEST_F(DirectoryOnEnginePanel, ARoomTypedWithABlankIsWrittenAsThePanelKeepsIt)
{
    transfer.GetDataClick();
    const PhoneEditTexts texts{"Adams Helen", " 12", "0211", {}, {}, {}};
    editor.UpdateEditButtons(texts);
    EXPECT_TRUE(editor.NavOkClick(texts));
    EXPECT_EQ(panel.memory().record(128), QByteArray("12,,,,0211,Adams Helen"));
    transfer.GetDataClick();
    ASSERT_EQ(table.count(), 1);
    EXPECT_EQ(table.value(0, "RoomNumber"), QByteArray("12"));
}

TEST_F(DirectoryOnEnginePanel, AnUploadCutShortByADroppedLineSaysSoAndIsNotTakenForThePanel)
{
    for (int i = 0; i < 6; ++i)
        table.appendRecord({"Resident " + QByteArray::number(i), QByteArray::number(200 + i)});
    panel.engine().setCommandObserver([this](const QByteArray &command) {
        if (command.startsWith("b0130"))
            h.port.scheduler().in(0, [this] { h.port.dropLine(); });
    });
    transfer.WriteDataClick();
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("Upload did not finish,\r\n2 of 6 entries written.\r\n"
                                                            "The Corvalen phone list is incomplete.")});
    EXPECT_EQ(panel.memory().usedDirectorySlots(), 3); // the third arrived but was never confirmed
    EXPECT_FALSE(h.status.statusTexts.contains(QStringLiteral("Done")));
    EXPECT_FALSE(h.link.conn().DirectorySynced);
    EXPECT_FALSE(h.directory.writeEachChangeEnabled());
}
