#include "link/widgets/RxMemoView.h"

#include <gtest/gtest.h>

TEST(RxMemoViewTest, ShowsLinePairsAsBreaksEvenWhenSplitAcrossChunks)
{
    ReplyMemo memo;
    RxMemoView view(memo);
    memo.append("abc\r");
    view.showNow();
    memo.append("\ndef\rg\nh");
    view.showNow();
    EXPECT_EQ(view.toPlainText(), QString::fromUtf8("abc\ndef\u240Dg\u240Ah"));
    memo.clear();
    view.showNow();
    EXPECT_TRUE(view.toPlainText().isEmpty());
    memo.setText(QByteArray("x\r\n\xE9", 4));
    view.showNow();
    EXPECT_EQ(view.toPlainText(), QString::fromUtf8("x\n\u00E9"));
    EXPECT_TRUE(view.isReadOnly());
}

// Many changes within one frame show as the memo's text at its end: the
// chunks of a reply, and an upload clearing and refilling the memo for
// every command. A frozen view keeps its text and catches up when thawed.
TEST(RxMemoViewTest, FollowsTheMemoOncePerFrameAndCatchesUpWhenThawed)
{
    ReplyMemo memo;
    RxMemoView view(memo);
    memo.append("d0128");
    memo.append("1152\r");
    EXPECT_TRUE(view.toPlainText().isEmpty()); // not before the frame
    view.showNow();
    EXPECT_EQ(view.toPlainText(), QStringLiteral("d01281152"));

    memo.append("\nOK\r\n");
    memo.clear();
    memo.append("b0128101,,,,0211,Ann\r\nOK\r\n");
    view.showNow();
    EXPECT_EQ(view.toPlainText(), QStringLiteral("b0128101,,,,0211,Ann\nOK\n"));

    view.setFrozen(true);
    memo.clear();
    memo.append("r0128\r\n");
    EXPECT_EQ(view.toPlainText(), QStringLiteral("b0128101,,,,0211,Ann\nOK\n"));
    EXPECT_FALSE(view.updatesEnabled());
    view.setFrozen(false);
    EXPECT_EQ(view.toPlainText(), QStringLiteral("r0128\n"));
    EXPECT_TRUE(view.updatesEnabled());
}
