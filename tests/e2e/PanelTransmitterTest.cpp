// Putting the panel's output on the line in time.
#include "PanelTransmitter.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {
constexpr qint64 kMs = 1000000;
}

TEST(PanelTransmitter, PacedBytesTakeTenBitsEachAtTheBaudRate)
{
    PanelTransmitter line;
    ASSERT_EQ(PanelTransmitter::byteTimeNs(57600), 173611);
    line.send({PanelOutput{QByteArray(576, 'x')}}, 0);
    EXPECT_EQ(line.take(173610), QByteArray());
    EXPECT_EQ(line.take(173611), QByteArray("x"));
    EXPECT_EQ(line.take(10 * kMs).size(), 57 - 1);
    EXPECT_EQ(line.take(100 * kMs).size(), 576 - 57);
    EXPECT_TRUE(line.idle());
    EXPECT_EQ(line.nextDueNs(), -1);
}

TEST(PanelTransmitter, GapsAndEarliestTimesHoldPiecesBack)
{
    PanelTransmitter line;
    line.setByteTimeNs(0);
    line.send({PanelOutput{"ab", 5, 0}, PanelOutput{"OK", 0, 600}}, 100 * kMs);
    EXPECT_EQ(line.nextDueNs(), 105 * kMs);
    EXPECT_EQ(line.take(104 * kMs), QByteArray());
    EXPECT_EQ(line.take(105 * kMs), QByteArray("ab"));
    EXPECT_EQ(line.nextDueNs(), 700 * kMs);
    EXPECT_EQ(line.take(700 * kMs), QByteArray("OK"));
}

TEST(PanelTransmitter, AReplyWaitsForTheOneBeforeItToLeaveTheLine)
{
    PanelTransmitter line;
    line.send({PanelOutput{QByteArray(100, 'a')}}, 0);
    line.send({PanelOutput{"b"}}, 1 * kMs);
    const auto bursts = line.drain(kMs);
    QByteArray all;
    for (const auto &b : bursts)
        all += b.bytes;
    EXPECT_EQ(all, QByteArray(100, 'a') + "b");
    EXPECT_GE(bursts.last().atNs, 101 * PanelTransmitter::byteTimeNs(57600));
    EXPECT_LT(bursts.last().atNs, 101 * PanelTransmitter::byteTimeNs(57600) + kMs);
    for (qsizetype i = 1; i < bursts.size(); ++i)
        EXPECT_GE(bursts.at(i).atNs - bursts.at(i - 1).atNs, kMs);
}

// The test adapter drains after every command: a reply queued while the tail
// of the one before is still to come lands after that tail.
TEST(PanelTransmitter, AReplyDrainedLaterNeverOvertakesTheTailOfTheOneBefore)
{
    PanelTransmitter line;
    line.send({PanelOutput{"OK\r\n", 300}}, 0);
    QList<PanelTransmitter::Burst> bursts = line.drain(kMs);
    line.send({PanelOutput{"e\r\n"}}, 100 * kMs);
    bursts += line.drain(kMs);
    QList<PanelTransmitter::Burst> inTime = bursts;
    std::stable_sort(inTime.begin(), inTime.end(), [](const auto &a, const auto &b) { return a.atNs < b.atNs; });
    QByteArray all;
    for (const auto &b : inTime)
        all += b.bytes;
    EXPECT_EQ(all, QByteArray("OK\r\ne\r\n"));
}

TEST(PanelTransmitter, ClearForgetsTheQueue)
{
    PanelTransmitter line;
    line.send({PanelOutput{"abc"}}, 0);
    line.clear();
    EXPECT_TRUE(line.idle());
    line.send({PanelOutput{"d"}}, 0);
    EXPECT_EQ(line.take(kMs), QByteArray("d"));
}
