// What the program makes of a line or a panel that misbehaves: its
// exchanges and the directory download against the virtual panel with one
// of its faults on, on virtual time.
#include "directory/DirectoryTransfer.h"
#include "support/AppHarness.h"
#include "support/EnginePanel.h"

#include <gtest/gtest.h>

namespace {

struct FaultyLine : ::testing::Test
{
    AppHarness h;
    EnginePanel panel{h.port};
    DirectoryTransfer transfer{h.ctx};
    CommandExchange &link = h.link;

    void SetUp() override
    {
        for (int r = 128; r < 168; ++r)
            panel.memory().setRecord(r, QByteArray::number(r) + ",1234,,,0211:;<" + QByteArray::number(r % 10)
                                            + ",Resident \xe9" + QByteArray::number(r));
        h.logOnWithPin();
    }
    QByteArray rows()
    {
        QByteArray out;
        for (int i = 0; i < h.directory.PhoneTable.count(); ++i)
            out += h.directory.PhoneTable.row(i).join('|') + '\n';
        return out;
    }
    QList<QByteArray> commandWords() const
    {
        QList<QByteArray> words;
        for (const QByteArray &c : h.port.commands())
            words << c.left(5);
        return words;
    }
};

} // namespace

TEST_F(FaultyLine, ADirectoryInRandomChunksStrewnWithNulBytesReadsAsOnACleanLine)
{
    transfer.GetDataClick();
    const QByteArray clean = rows();
    ASSERT_EQ(h.directory.PhoneTable.count(), 40);

    panel.faults().chunks = true;
    panel.faults().nul = true;
    transfer.GetDataClick();
    EXPECT_EQ(rows(), clean);
    EXPECT_TRUE(h.prompt.messages.isEmpty()) << qPrintable(h.prompt.messages.join(QLatin1Char('|')));
    EXPECT_TRUE(link.conn().DirectorySynced);
}

// The download gives up after 41 silent steps of 86.4 ms: a panel that
// pauses for less is waited for, one that pauses for longer is not.
TEST_F(FaultyLine, ADownloadWaitsOutAPauseShorterThanItsSilenceBoundAndNotALongerOne)
{
    transfer.GetDataClick();
    const QByteArray clean = rows();

    panel.faults().pauseAfter = 700;
    panel.faults().pauseMs = 3300;
    transfer.GetDataClick();
    EXPECT_EQ(rows(), clean);
    EXPECT_TRUE(h.prompt.messages.isEmpty()) << qPrintable(h.prompt.messages.join(QLatin1Char('|')));

    panel.faults().pauseMs = 3800;
    transfer.GetDataClick();
    ASSERT_EQ(h.prompt.messages.size(), 1);
    EXPECT_TRUE(h.prompt.messages.first().startsWith(QStringLiteral("communication error\r\nThe download was cut short")))
        << qPrintable(h.prompt.messages.first());
    EXPECT_FALSE(link.conn().DirectorySynced);
}

// Without its "OK" the write goes out a second time; the read-back decides.
TEST_F(FaultyLine, AWriteWhoseOkIsLostIsWrittenAgainAndConfirmedByItsReadBack)
{
    panel.faults().dropOk = true;
    EXPECT_TRUE(link.WriteRecord("1000", "101,,,,0211,Adams Helen"));
    EXPECT_EQ(commandWords(), (QList<QByteArray>{"w0128", "w0128", "r0128"}));
    EXPECT_EQ(panel.memory().record(128), QByteArray("101,,,,0211,Adams Helen"));
}

// A write counts as done only when the record reads back: an "OK" alone, or
// an empty line, confirms nothing, though the panel may have stored it.
TEST_F(FaultyLine, RepliesWithoutTheRecordConfirmNoWrite)
{
    const QByteArray codes = "2580" + QByteArray(28, char(0xFF));
    panel.faults().bareOk = true;
    EXPECT_FALSE(link.WriteRecord("1000", "101,,,,0211,Adams Helen"));
    EXPECT_FALSE(link.WriteBlock("1020", "102,,,,0217,Baker Tom"));
    EXPECT_FALSE(link.ProgramRecord("0006", codes));
    EXPECT_EQ(panel.memory().record(128), QByteArray("101,,,,0211,Adams Helen")); // stored all the same

    panel.faults().bareOk = false;
    panel.faults().emptyReplies = true;
    EXPECT_FALSE(link.WriteRecord("1040", "103,,,,0219,Chen Wei"));
    EXPECT_FALSE(link.ProgramRecord("0006", codes));
    EXPECT_FALSE(link.ProbePanel());
}
