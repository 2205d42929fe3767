// Where a download meets the archive's end: the longest start of the
// download that is also the archive's end, by line content without the
// panel's line numbers.
#include "archive/ArchiveOverlap.h"

#include <gtest/gtest.h>

namespace {
QList<QByteArray> keys(const char *letters)
{
    QList<QByteArray> out;
    for (const char *c = letters; *c; ++c)
        if (*c != ' ')
            out << QByteArray(1, *c);
    return out;
}
} // namespace

TEST(ArchiveOverlap, DownloadsThatContinueTheArchiveOverlapAtItsEnd)
{
    using ArchiveOverlap::overlap;
    EXPECT_EQ(overlap({}, keys("abc")), 0);                  // the first download
    EXPECT_EQ(overlap(keys("abc"), {}), 0);                  // an empty log
    EXPECT_EQ(overlap(keys("abcdef"), keys("abcdef")), 6);   // the same log again
    EXPECT_EQ(overlap(keys("abcdef"), keys("defghi")), 3);   // the log wrapped
    EXPECT_EQ(overlap(keys("abcdef"), keys("ghij")), 0);     // wrapped past all, or cleared
    EXPECT_EQ(overlap(keys("abcdef"), keys("f")), 1);
    EXPECT_EQ(overlap(keys("abcdef"), keys("abcdefg")), 6);  // a log that never wrapped, grown by one
    // The archive's end may be much longer than the download.
    EXPECT_EQ(overlap(keys("zzzzzzzzzzabc"), keys("bcd")), 2);
}

TEST(ArchiveOverlap, OnlyTheArchivesEndCountsNotAnEarlierRun)
{
    using ArchiveOverlap::overlap;
    // The start of the download stands in the archive, but not at its end:
    // the log was cleared and the same lines came again.
    EXPECT_EQ(overlap(keys("abcdef"), keys("ab")), 0);
    EXPECT_EQ(overlap(keys("abcabd"), keys("abcx")), 0);
}

TEST(ArchiveOverlap, IdenticalLinesAreCountedNotMerged)
{
    using ArchiveOverlap::overlap;
    // Two identical lines in the same second are two events.
    EXPECT_EQ(overlap(keys("a"), keys("aa")), 1);
    EXPECT_EQ(overlap(keys("aa"), keys("aa")), 2);
    EXPECT_EQ(overlap(keys("aa"), keys("aaa")), 2);
    EXPECT_EQ(overlap(keys("baaa"), keys("aab")), 2);
}

TEST(ArchiveOverlap, RepeatingPatternsFallBackToTheLongestMatch)
{
    using ArchiveOverlap::overlap;
    // A matcher that gives up at the first mismatch instead of falling back
    // would miss these.
    EXPECT_EQ(overlap(keys("xyxyx"), keys("xyxyz")), 3);
    EXPECT_EQ(overlap(keys("aabaab"), keys("aabaabaab")), 6);
    EXPECT_EQ(overlap(keys("abababab"), keys("ababababc")), 8);
    EXPECT_EQ(overlap(keys("aaabaaa"), keys("aaaab")), 3);
}

TEST(ArchiveOverlap, LinesAreComparedWithoutTheirFirstFiveCharacters)
{
    EXPECT_EQ(ArchiveOverlap::matchKey("0001 B0FFFFFFFFFF0C0B1A"), QByteArray("B0FFFFFFFFFF0C0B1A"));
    EXPECT_EQ(ArchiveOverlap::matchKey("0001"), QByteArray());
    const QList<QByteArray> archive{ArchiveOverlap::matchKey("0999 X1"), ArchiveOverlap::matchKey("1000 X2")};
    const QList<QByteArray> download{ArchiveOverlap::matchKey("0001 X1"), ArchiveOverlap::matchKey("0002 X2"),
                                     ArchiveOverlap::matchKey("0003 X3")};
    EXPECT_EQ(ArchiveOverlap::overlap(archive, download), 2);
}
