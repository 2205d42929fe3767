#include "directory/DirectoryListing.h"
#include "directory/DirectoryTransfer.h"
#include "directory/PhoneFields.h"
#include "support/AppHarness.h"
#include "DirectoryPanel.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

constexpr qint64 kByteNs57600 = 1000000000LL * 10 / 57600; // ten bits a byte

struct DownloadFixture : ::testing::Test
{
    AppHarness h;
    DirectoryPanel panel;
    DirectoryTransfer transfer{h.ctx};
    Table &table = h.directory.PhoneTable;

    DownloadFixture()
    {
        h.logOn(0x9000);
        panel.attach(h.port);
    }
    QByteArray value(int row, const char *field) const { return table.value(row, field); }
};

} // namespace

TEST_F(DownloadFixture, AFullThousandModelArrivesAtLineSpeedInSlotOrder)
{
    for (int record = 128; record <= 1152; ++record)
        panel.store(record, QByteArray::number(record) + ",1234,,1,0:;<,Name " + QByteArray::number(record));
    h.port.setByteTimeNs(kByteNs57600);
    h.port.setChunkSize(61);
    QSignalSpy counts(&transfer, &DirectoryTransfer::lineCountChanged);
    QSignalSpy shown(&transfer, &DirectoryTransfer::progressVisibleChanged);
    table.appendRecord({"Old entry", "1"});
    table.sortOn(PhoneFields::Name, Qt::CaseSensitive);

    transfer.GetDataClick();

    ASSERT_EQ(table.count(), 1025);
    EXPECT_EQ(value(0, "Addr"), QByteArray("1000"));
    EXPECT_EQ(value(0, "RoomNumber"), QByteArray("128"));
    EXPECT_EQ(value(0, "Code1"), QByteArray("1234"));
    EXPECT_EQ(value(0, "Code2"), QByteArray());
    EXPECT_EQ(value(0, "spare"), QByteArray("1"));
    EXPECT_EQ(value(0, "PHnumber"), QByteArray("0*#p"));
    EXPECT_EQ(value(0, "Name"), QByteArray("Name 128"));
    EXPECT_EQ(value(1024, "Addr"), QByteArray("9000"));
    EXPECT_EQ(table.sortField(), -1); // the reply's order, no sort
    EXPECT_EQ(table.position(), 1);
    EXPECT_TRUE(h.link.conn().DirectorySynced);
    EXPECT_TRUE(h.directory.writeEachChangeEnabled());
    EXPECT_TRUE(h.directory.PhoneFileSaveAllowed());
    EXPECT_FALSE(h.directory.TableLoading);
    EXPECT_TRUE(h.directory.ScrollSyncOn);
    EXPECT_FALSE(h.link.rx().EchoSuppressed);
    EXPECT_TRUE(h.prompt.messages.isEmpty());
    EXPECT_EQ(h.port.commands(), QList<QByteArray>{"d01281152"});
    EXPECT_EQ(h.link.RxMemo().lineCount(), 1027);

    // Progress: shown, counted up while the reply arrived, hidden.
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown.first().first().toBool());
    EXPECT_FALSE(shown.last().first().toBool());
    EXPECT_GT(counts.size(), 50);
    EXPECT_GT(counts.last().first().toInt(), 900); // CR LF pairs split between chunks are not counted
    EXPECT_LE(counts.last().first().toInt(), 1027);
    EXPECT_EQ(h.feedback.events, (QStringList{"show", "busy", "blink", "keepalive off", "hide", "idle", "steady",
                                              "keepalive on", "led 21"}));

    // Wall time on the line plus the stated tail: the reply's bytes, at most
    // one step of 86.4 ms late, then 864 ms.
    qint64 replyBytes = 0;
    for (const QByteArray &line : h.link.RxMemo().lines())
        replyBytes += line.size() + 2;
    const qint64 lineTicks = replyBytes * kByteNs57600 / Waiter::kTickNs;
    EXPECT_GE(h.elapsedTicks(), lineTicks + 1000);
    EXPECT_LE(h.elapsedTicks(), lineTicks + 1000 + 100 + 20);
}

TEST_F(DownloadFixture, AThreeLineReplyGivesOneEntry)
{
    h.port.setResponder([](const QByteArray &) {
        return QByteArray("d01281152\r\n1020 101,,,,12??????????????,Smith\r\nOK\r\n");
    });
    transfer.GetDataClick();
    ASSERT_EQ(table.count(), 1);
    EXPECT_EQ(value(0, "Name"), QByteArray("Smith"));
    EXPECT_EQ(value(0, "PHnumber"), QByteArray("12"));
    EXPECT_EQ(value(0, "Addr"), QByteArray("1020"));
    EXPECT_EQ(value(0, "RFID"), QByteArray());
}

TEST_F(DownloadFixture, EmptySlotsAndLinesWithoutRoomOrNameAreSkipped)
{
    h.port.setResponder([](const QByteArray &) {
        return QByteArray("d01281152\r\n1000 \r\n\r\n1020 ,,,,,NoRoom\r\n1040 12,,,,,\r\n"
                          "1060 1234567,1,2,3,44??,Seven\r\n1080 7,,,,,Smith, John\r\nOK\r\n");
    });
    transfer.GetDataClick();
    ASSERT_EQ(table.count(), 2);
    EXPECT_EQ(value(0, "RoomNumber"), QByteArray("123456"));
    EXPECT_EQ(value(0, "Code1"), QByteArray());
    EXPECT_EQ(value(0, "Name"), QByteArray("44??"));
    EXPECT_EQ(value(1, "Name"), QByteArray("Smith"));
    // Passed over as empty slots are, but they hold data: the download says so.
    EXPECT_EQ(h.prompt.messages,
              QStringList{QStringLiteral("2 slot(s) of the Corvalen hold data without a Name or a RoomNumber: "
                                         "1020, 1040\r\nThey were left out of the table, as empty slots are.")});
}

TEST_F(DownloadFixture, ANameEndingInOkAtTheEndOfAChunkDoesNotEndTheReply)
{
    h.port.setResponder([this](const QByteArray &) {
        h.port.inject("1020 2,,,,,Next\r\nOK\r\n", 300 * Waiter::kTickNs);
        return QByteArray("d01281152\r\n1000 1,,,,,BOOK\r\n");
    });
    transfer.GetDataClick();
    ASSERT_EQ(table.count(), 2);
    EXPECT_EQ(value(1, "Name"), QByteArray("Next"));
    EXPECT_TRUE(h.link.conn().DirectorySynced);
}

TEST_F(DownloadFixture, APanelThatStallsGivesCommunicationErrorAndAnUnsyncedTable)
{
    for (int record = 128; record <= 1152; ++record)
        panel.store(record, "1,,,,,N" + QByteArray::number(record));
    panel.stallAfterRecords = 300;
    h.port.setByteTimeNs(kByteNs57600);
    h.port.setChunkSize(64);
    transfer.GetDataClick();

    // The table holds a fragment, and the message says so.
    EXPECT_EQ(h.prompt.messages,
              QStringList{QStringLiteral("communication error\r\nThe download was cut short: the table holds the "
                                         "300 entries that arrived,\r\nnot the Corvalen's whole phone list.")});
    EXPECT_EQ(table.count(), 300); // every complete line that arrived
    EXPECT_EQ(value(299, "Addr"), QByteArray("3560"));
    // Single writes would take panel slots beyond the stall for free ones.
    EXPECT_FALSE(h.link.conn().DirectorySynced);
    EXPECT_FALSE(h.directory.writeEachChangeEnabled());
    EXPECT_FALSE(h.directory.TableLoading);
    EXPECT_FALSE(h.link.rx().EchoSuppressed);
    EXPECT_FALSE(h.feedback.windowShown);

    // 41 silent steps of 100 ticks after the last byte, then the 1000-tick tail.
    const QList<qint32> &waits = h.waiter.waits();
    ASSERT_GE(waits.size(), 42);
    EXPECT_EQ(waits.last(), 1000);
    for (qsizetype i = waits.size() - 42; i < waits.size() - 1; ++i)
        EXPECT_EQ(waits.at(i), 100);
}

TEST_F(DownloadFixture, APanelThatNeverEndsStopsAfter1501Steps)
{
    h.port.setResponder([](const QByteArray &) { return QByteArray("d01281152\r\n"); });
    int sent = 0;
    std::function<void()> talk = [&] {
        if (++sent > 2000)
            return;
        h.port.inject("1000 1,,,,,Again\r\n", 0);
        h.clock.scheduleInTicks(80, talk);
    };
    h.clock.scheduleInTicks(50, talk);
    h.waiter.clearLog();
    transfer.GetDataClick();

    int steps = 0;
    for (qint32 w : h.waiter.waits())
        steps += (w == 100);
    EXPECT_EQ(steps, 1501);
    ASSERT_EQ(h.prompt.messages.size(), 1);
    EXPECT_TRUE(h.prompt.messages[0].startsWith(QStringLiteral("communication error\r\nThe download was cut short:")));
    EXPECT_GT(table.count(), 1000);
    EXPECT_FALSE(h.link.conn().DirectorySynced);
}

TEST_F(DownloadFixture, ASecondExchangeWaitsForTheFirst)
{
    ExchangeGuard::Scope busy(h.guard);
    transfer.GetDataClick();
    EXPECT_TRUE(h.port.commands().isEmpty());
    EXPECT_FALSE(h.directory.TableLoading);
}

TEST_F(DownloadFixture, ASilentPanelLeavesTheTableAsItWas)
{
    h.port.setResponder({});
    table.appendRecord({"Kept", "1", "", "", "", "", "", "1000"});
    transfer.GetDataClick();
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("communication error")});
    ASSERT_EQ(table.count(), 1);
    EXPECT_EQ(table.value(0, "Name"), QByteArray("Kept"));
    EXPECT_FALSE(h.directory.TableLoading);
    EXPECT_FALSE(h.link.rx().EchoSuppressed);
    // 10 + 1 before the command, 41 silent steps, the tail.
    EXPECT_EQ(h.elapsedTicks(), 10 + 1 + 41 * 100 + 1000);
}

TEST_F(DownloadFixture, AnEmptyDirectoryGivesAnEmptyTable)
{
    table.appendRecord({"Gone", "1"});
    transfer.GetDataClick();
    EXPECT_EQ(table.count(), 0);
    EXPECT_TRUE(h.link.conn().DirectorySynced);
    EXPECT_TRUE(h.prompt.messages.isEmpty());
}

TEST(DirectoryListingLines, OnlyTheLinesBetweenTheFirstAndOkAreSlots)
{
    for (const QByteArray &reply : {QByteArray("OK\r\n"), QByteArray("\r\nOK\r\n"), QByteArray()}) {
        EXPECT_EQ(DirectoryListing::read(reply, true).records, 0);
        EXPECT_TRUE(DirectoryListing::read(reply, false).occupied.isEmpty());
    }
    // A single line is the first line: no slot at all.
    EXPECT_EQ(DirectoryListing::read("1000 1,,,,,Adams\r\n", false).records, 0);
    // Cut short: every whole line after the first, the one still arriving left out.
    const DirectoryListing cut = DirectoryListing::read("d01281152\r\n1000 1,,,,,Adams\r\n1020 2,,,,,Ba", false);
    EXPECT_EQ(cut.records, 1);
    ASSERT_EQ(cut.entries.size(), 1);
    EXPECT_EQ(cut.entries[0].Name, QByteArray("Adams"));
}

// A line of noise ahead of the reply pushes the command's own first line
// into the slots: only a line that names a slot is one for a backup.
TEST(DirectoryListingLines, ALineThatNamesNoSlotIsNoSlotOfTheBackup)
{
    const DirectoryListing noisy =
        DirectoryListing::read("#x!%\r\nd01281152\r\n1000 1,,,,,Adams\r\n1020 ,,,,0217,\r\nOK\r\n", true);
    ASSERT_EQ(noisy.occupied.size(), 2);
    EXPECT_EQ(noisy.occupied[0].SlotAddress, QByteArray("1000"));
    EXPECT_EQ(noisy.occupied[1].SlotAddress, QByteArray("1020"));
    EXPECT_EQ(noisy.skippedSlots(), QList<QByteArray>{"1020"});
}

TEST_F(DownloadFixture, AnOkWithoutASingleSlotLineIsACommunicationErrorAndTheTableStays)
{
    table.appendRecord({"Kept", "1", "", "", "", "", "", "1000"});
    h.link.conn().DirectorySynced = false;
    for (const QByteArray &reply : {QByteArray("OK\r\n"), QByteArray("\r\nOK\r\n"), QByteArray("d01281152\r\nOK\r\n")}) {
        h.prompt.messages.clear();
        h.port.setResponder([reply](const QByteArray &) { return reply; });
        EXPECT_EQ(transfer.GetDataClick(), DirectoryTransfer::Outcome::CommunicationError);
        EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("communication error")});
        ASSERT_EQ(table.count(), 1);
        EXPECT_EQ(value(0, "Name"), QByteArray("Kept"));
        EXPECT_FALSE(h.link.conn().DirectorySynced);
        EXPECT_FALSE(h.directory.writeEachChangeEnabled());
        EXPECT_FALSE(h.directory.TableLoading);
    }
}
