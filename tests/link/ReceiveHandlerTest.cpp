#include "support/LinkHarness.h"

#include <gtest/gtest.h>

class ReceiveHandler : public ::testing::Test
{
protected:
    void SetUp() override { h.openPort(); }
    LinkHarness h;
    ReceiveState &rx() { return h.link.rx(); }
};

TEST_F(ReceiveHandler, AcknowledgementSplitIntoSingleBytesIsRecognisedOnTheLastByte)
{
    h.receive("O");
    h.receive("K");
    h.receive("\r");
    EXPECT_FALSE(rx().ReplyOk);
    h.receive("\n");
    EXPECT_TRUE(rx().ReplyOk);
    EXPECT_EQ(rx().ReceiveBuffer, QByteArray("OK\r\n"));
}

TEST_F(ReceiveHandler, AcknowledgementFollowedByMoreTextInTheSameChunkIsNotRecognised)
{
    h.receive("OK\r\nx");
    EXPECT_FALSE(rx().ReplyOk);
    h.receive("\r\nOK\r\n");
    EXPECT_TRUE(rx().ReplyOk);
}

TEST_F(ReceiveHandler, AcknowledgementIsUpperCaseOnlyAndNeverClearedByTheHandler)
{
    h.receive("ok\r\n");
    EXPECT_FALSE(rx().ReplyOk);
    h.receive("OK\r\n");
    EXPECT_TRUE(rx().ReplyOk);
    h.receive("more text");
    EXPECT_TRUE(rx().ReplyOk);
}

TEST_F(ReceiveHandler, NulBytesAreDroppedButStillCountAsArrivedData)
{
    h.receive(QByteArray("A\0B", 3));
    EXPECT_EQ(rx().ReceiveBuffer, QByteArray("AB"));
    EXPECT_EQ(h.link.RxMemo().text(), QByteArray("AB"));

    rx().DataArrived = false;
    h.receive(QByteArray("\0\0\0", 3));
    EXPECT_TRUE(rx().DataArrived);
    EXPECT_EQ(rx().ReceiveBuffer, QByteArray("AB"));
    EXPECT_EQ(h.link.RxMemo().text(), QByteArray("AB"));
}

TEST_F(ReceiveHandler, LineEndsAreCountedOnlyWithinOneChunk)
{
    h.receive("\r\n\r\n");
    EXPECT_EQ(rx().LineEndCount, 2);
    h.receive("abc\r");
    h.receive("\ndef");
    EXPECT_EQ(rx().LineEndCount, 2);
    h.receive(QByteArray("\r\0\n\r\r\n", 6)); // counted once the NUL bytes are gone
    EXPECT_EQ(rx().LineEndCount, 4);
}

TEST_F(ReceiveHandler, SuppressedEchoLeavesTheMemoAloneWhileTheBufferGrows)
{
    h.receive("first\r\n");
    rx().EchoSuppressed = true;
    h.receive("second\r\n");
    h.receive("third\r\n");
    EXPECT_EQ(h.link.RxMemo().text(), QByteArray("first\r\n"));
    EXPECT_EQ(rx().ReceiveBuffer, QByteArray("first\r\nsecond\r\nthird\r\n"));
}

TEST_F(ReceiveHandler, EveryByteValueExceptNulSurvivesIntoTheMemo)
{
    QByteArray all;
    for (int b = 1; b < 256; ++b)
        all.append(char(b));
    h.receive(all);
    EXPECT_EQ(h.link.RxMemo().text(), all);
}

TEST(ReplyMemoLines, SplitOnlyAtCarriageReturnLineFeedPairs)
{
    ReplyMemo memo;
    memo.append("line0\r\nline\r1\nstill1\r\n");
    memo.append("\r\nline3");
    ASSERT_EQ(memo.lineCount(), 4);
    EXPECT_EQ(memo.line(0), QByteArray("line0"));
    EXPECT_EQ(memo.line(1), QByteArray("line\r1\nstill1"));
    EXPECT_EQ(memo.line(2), QByteArray(""));
    EXPECT_EQ(memo.line(3), QByteArray("line3"));
    EXPECT_EQ(memo.line(4), QByteArray());
    EXPECT_EQ(memo.line(-1), QByteArray());
}

TEST(ReplyMemoLines, AFinalLineEndStartsNoFurtherLineAndAPairSplitAcrossChunksStillCounts)
{
    ReplyMemo memo;
    memo.append("a\r");
    memo.append("\nb\r\n");
    EXPECT_EQ(memo.lines(), (QList<QByteArray>{"a", "b"}));
    memo.clear();
    EXPECT_EQ(memo.lineCount(), 0);
    memo.setText("x\r\n\r\nOK\r\n");
    EXPECT_EQ(memo.lines(), (QList<QByteArray>{"x", "", "OK"}));
}

TEST(ReplyMemoLines, OnlyAnOkLineOfItsOwnEndsAReply)
{
    EXPECT_TRUE(ReplyMemo::endsWithOkLine("OK\r\n"));
    EXPECT_TRUE(ReplyMemo::endsWithOkLine("e\r\nAnn\r\nOK\r\n"));
    EXPECT_FALSE(ReplyMemo::endsWithOkLine("e\r\n0001 ANNA-MARIE BROOK\r\n")); // a name ending in OK
    EXPECT_FALSE(ReplyMemo::endsWithOkLine("e\r\nOK\r\nx"));
    EXPECT_FALSE(ReplyMemo::endsWithOkLine("e\r\nok\r\n"));
    EXPECT_FALSE(ReplyMemo::endsWithOkLine(""));
}
