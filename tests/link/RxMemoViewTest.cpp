#include "link/widgets/RxMemoView.h"

#include <gtest/gtest.h>

TEST(RxMemoViewTest, ShowsLinePairsAsBreaksEvenWhenSplitAcrossChunks)
{
    ReplyMemo memo;
    RxMemoView view(memo);
    memo.append("abc\r");
    memo.append("\ndef\rg\nh");
    EXPECT_EQ(view.toPlainText(), QString::fromUtf8("abc\ndef\u240Dg\u240Ah"));
    memo.clear();
    EXPECT_TRUE(view.toPlainText().isEmpty());
    memo.setText(QByteArray("x\r\n\xE9", 4));
    EXPECT_EQ(view.toPlainText(), QString::fromUtf8("x\n\u00E9"));
    EXPECT_TRUE(view.isReadOnly());
}
