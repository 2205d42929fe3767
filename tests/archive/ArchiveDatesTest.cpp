// Full dates from the panel's two-digit years, and times of day.
#include "archive/ArchiveDates.h"

#include <gtest/gtest.h>

TEST(ArchiveDates, TwoDigitYearsTakeTheCenturyAtOrBeforeTheDownload)
{
    using ArchiveDates::fullYear;
    EXPECT_EQ(fullYear(26, 2026), 2026);
    EXPECT_EQ(fullYear(0, 2026), 2000);
    EXPECT_EQ(fullYear(99, 2026), 1999);
    // A panel clock up to a year ahead keeps the century...
    EXPECT_EQ(fullYear(27, 2026), 2027);
    // ...a year further ahead belongs to the century before.
    EXPECT_EQ(fullYear(28, 2026), 1928);
    // Across a century's turn.
    EXPECT_EQ(fullYear(0, 2099), 2100);
    EXPECT_EQ(fullYear(99, 2099), 2099);
    EXPECT_EQ(fullYear(99, 2100), 2099);
    EXPECT_EQ(fullYear(1, 2100), 2101);
    EXPECT_EQ(fullYear(2, 2100), 2002);
    EXPECT_EQ(fullYear(100, 2026), 0);
}

TEST(ArchiveDates, EventDatesAreReadFromTheHexadecimalBytes)
{
    const QDate download(2026, 3, 5);
    using ArchiveDates::eventDate;
    EXPECT_EQ(eventDate("1F0C63", download), QDate(1999, 12, 31));
    EXPECT_EQ(eventDate("05031A", download), QDate(2026, 3, 5));
    EXPECT_EQ(eventDate("0c0b1a", download), QDate(2026, 11, 12)); // lower case
    EXPECT_EQ(eventDate("01011B", download), QDate(2027, 1, 1));
    // Dates that cannot be: erased bytes ("55/55/55"), day 0, month 13,
    // 30 February, a year byte of 100 (which the grid shows as "00").
    EXPECT_FALSE(eventDate("FFFFFF", download));
    EXPECT_FALSE(eventDate("00011A", download));
    EXPECT_FALSE(eventDate("010D1A", download));
    EXPECT_FALSE(eventDate("1E021A", download));
    EXPECT_FALSE(eventDate("010164", download));
    // Not six hexadecimal digits.
    EXPECT_FALSE(eventDate("01011", download));
    EXPECT_FALSE(eventDate("0101ZZ", download));
    EXPECT_FALSE(eventDate("", download));
    // 29 February only in a leap year.
    EXPECT_EQ(eventDate("1D0218", download), QDate(2024, 2, 29));
    EXPECT_FALSE(eventDate("1D0219", download));
}

TEST(ArchiveDates, TimesOfDay)
{
    using ArchiveDates::eventSecond;
    EXPECT_EQ(eventSecond("000000"), 0);
    EXPECT_EQ(eventSecond("0E2D05"), 14 * 3600 + 45 * 60 + 5);
    EXPECT_EQ(eventSecond("173B3B"), 86399);
    EXPECT_FALSE(eventSecond("180000"));
    EXPECT_FALSE(eventSecond("003C00"));
    EXPECT_FALSE(eventSecond("FFFFFF"));
    EXPECT_FALSE(eventSecond("0E2D0"));
}

TEST(ArchiveDates, TheReferenceIsTheDownloadOrALaterPanelClock)
{
    const QDateTime computer(QDate(2026, 12, 31), QTime(23, 59, 0));
    EXPECT_EQ(ArchiveDates::referenceDate(computer, std::nullopt), QDate(2026, 12, 31));
    EXPECT_EQ(ArchiveDates::referenceDate(computer, QDateTime(QDate(2027, 1, 1), QTime(0, 1))), QDate(2027, 1, 1));
    // A panel clock that was reset to 2000 does not pull old events back a
    // century.
    EXPECT_EQ(ArchiveDates::referenceDate(computer, QDateTime(QDate(2000, 1, 1), QTime(0, 0))), QDate(2026, 12, 31));
}

TEST(ArchiveDates, ThePanelClockFromTheEventPagesFields)
{
    const QDateTime at(QDate(2026, 11, 12), QTime(14, 46, 0));
    EXPECT_EQ(ArchiveDates::panelClock("14:45:13", "12/11/26", at), QDateTime(QDate(2026, 11, 12), QTime(14, 45, 13)));
    EXPECT_EQ(ArchiveDates::panelClock("00:00:01", "01/01/27", at), QDateTime(QDate(2027, 1, 1), QTime(0, 0, 1)));
    // The fields before any download, and what a bad clock line leaves.
    EXPECT_FALSE(ArchiveDates::panelClock("00:00:00", "00/00", at));
    EXPECT_FALSE(ArchiveDates::panelClock("55:55:55", "55/55/55", at));
    EXPECT_FALSE(ArchiveDates::panelClock("", "", at));
}
