#include "directory/DialDigits.h"
#include "directory/EntryText.h"
#include "directory/PhoneFieldChecks.h"
#include "support/Recorders.h"

#include <gtest/gtest.h>

TEST(DialDigits, DecodeTurnsPanelSignsIntoDialSignsAndStopsAtTheFiller)
{
    EXPECT_EQ(DecodeDialDigits("1234:;<5??????"), QByteArray("1234*#p5"));
    EXPECT_EQ(DecodeDialDigits("????????????????"), QByteArray());
    EXPECT_EQ(DecodeDialDigits("0123456789"), QByteArray("0123456789"));
    EXPECT_EQ(DecodeDialDigits("12?34"), QByteArray("12"));
    EXPECT_EQ(DecodeDialDigits("1A-"), QByteArray("1A-")); // other characters pass
}

TEST(DialDigits, EncodeTurnsDialSignsIntoPanelSignsAndEndsAtAnythingElse)
{
    EXPECT_EQ(EncodeDialDigits("*12#p3", 16), QByteArray(":12;<3"));
    EXPECT_EQ(EncodeDialDigits("*1#p", 16), QByteArray(":1;<"));
    EXPECT_EQ(EncodeDialDigits("12:34P", 16), QByteArray("12<34<")); // ":" is a pause too
    EXPECT_EQ(EncodeDialDigits("012-345678", 16), QByteArray("012"));
    EXPECT_EQ(EncodeDialDigits("12345678901234567890", 16), QByteArray("1234567890123456"));
    EXPECT_EQ(EncodeDialDigits("12345678901234567890", 30), QByteArray("1234567890123456"));
    EXPECT_EQ(EncodeDialDigits("123456", 4), QByteArray("1234"));
    EXPECT_EQ(EncodeDialDigits("", 16), QByteArray());
    EXPECT_EQ(EncodeDialDigits("123", -1), QByteArray());
}

TEST(EntryText, LeadingDigitsKeepZerosAndStopAtTheLimitOrANonDigit)
{
    EXPECT_EQ(LeadingDigits("0012", 4), QByteArray("0012"));
    EXPECT_EQ(LeadingDigits("12345", 4), QByteArray("1234"));
    EXPECT_EQ(LeadingDigits("12a3", 6), QByteArray("12"));
    EXPECT_EQ(LeadingDigits("a123", 6), QByteArray());
    EXPECT_EQ(LeadingDigits("12345678901234567890", 20), QByteArray("1234567890123456"));
    EXPECT_EQ(LeadingDigits(" 12", 6), QByteArray());
}

TEST(EntryText, StripLeadingSpacesRemovesOnlyTheBlanksAtTheStart)
{
    EXPECT_EQ(StripLeadingSpaces("   Smith  J"), QByteArray("Smith  J"));
    EXPECT_EQ(StripLeadingSpaces("   "), QByteArray());
    EXPECT_EQ(StripLeadingSpaces("x "), QByteArray("x "));
}

// Only what the panel keeps passes: a sign or a blank would leave an empty
// room on the panel (the entry text keeps the leading digits only).
TEST(EntryText, NumericOrZeroKeepsOnlyDigitsAsThePanelKeepsThem)
{
    RecordingPrompt prompt;
    EXPECT_EQ(NumericOrZero("0123", prompt), QByteArray("0123"));
    EXPECT_EQ(NumericOrZero("  12", prompt), QByteArray("12"));
    EXPECT_TRUE(prompt.messages.isEmpty());
    for (const char *bad : {"-5", "+12", "12 ", "1 2", "12a", "", "   "})
        EXPECT_EQ(NumericOrZero(bad, prompt), QByteArray("0")) << bad;
    ASSERT_EQ(prompt.messages.size(), 7);
    EXPECT_EQ(prompt.messages.first(), QStringLiteral("Must use Numeric digits in\r\nRoomNumber & Codes fields"));
}

TEST(PhoneFieldChecks, NameEnterStripsBlanksAndNeedsALetterOrDigitFirst)
{
    const FieldCheck good = PhoneFieldChecks::NamefEnter("   Smith");
    EXPECT_EQ(good.text, QByteArray("Smith"));
    EXPECT_TRUE(good.message.isEmpty());
    EXPECT_FALSE(good.focusStays);
    EXPECT_TRUE(good.updateButtons);

    for (const QByteArray &bad : {QByteArray("-Smith"), QByteArray("   "), QByteArray()}) {
        const FieldCheck r = PhoneFieldChecks::NamefEnter(bad);
        EXPECT_EQ(r.message, QStringLiteral("must enter a name or number\r\nwithout a space as a first character\r\n"
                                            "start characters may be:\r\n A-Z or a-z or 0-9"));
        EXPECT_TRUE(r.focusStays);
        EXPECT_TRUE(r.selectAll);
        EXPECT_FALSE(r.updateButtons);
    }
}

TEST(PhoneFieldChecks, RoomEnterAndCodeExitWantDigitsOnly)
{
    const FieldCheck empty = PhoneFieldChecks::RoomNumberEnter("");
    EXPECT_EQ(empty.message, QStringLiteral("Must enter a number"));
    EXPECT_TRUE(empty.focusStays);
    EXPECT_FALSE(empty.selectAll);

    const FieldCheck letter = PhoneFieldChecks::RoomNumberEnter(" 12b");
    EXPECT_EQ(letter.text, QByteArray("12b"));
    EXPECT_EQ(letter.message, QStringLiteral("Must enter a number"));
    EXPECT_TRUE(letter.selectAll);
    EXPECT_TRUE(letter.updateButtons); // the buttons follow before the check

    const FieldCheck room = PhoneFieldChecks::RoomNumberEnter("  101");
    EXPECT_EQ(room.text, QByteArray("101"));
    EXPECT_TRUE(room.message.isEmpty());

    EXPECT_EQ(PhoneFieldChecks::CodeExit(" 12x").message, QStringLiteral("Numbers Only"));
    EXPECT_TRUE(PhoneFieldChecks::CodeExit(" 12x").focusStays);
    EXPECT_EQ(PhoneFieldChecks::CodeExit("  0012").text, QByteArray("0012"));
    EXPECT_TRUE(PhoneFieldChecks::CodeExit("").message.isEmpty());
    for (const char *signed_ : {"+12", "-5", " +12"}) {
        EXPECT_EQ(PhoneFieldChecks::RoomNumberEnter(signed_).message, QStringLiteral("Must enter a number"));
        EXPECT_EQ(PhoneFieldChecks::CodeExit(signed_).message, QStringLiteral("Numbers Only"));
    }
    EXPECT_EQ(PhoneFieldChecks::PHnumberExit("  *12").text, QByteArray("*12"));
}

TEST(PhoneFieldChecks, KeyFilters)
{
    for (char c : QByteArray("0123456789pP*#:\r\b"))
        EXPECT_TRUE(PhoneFieldChecks::PHnumberKeyAllowed(c)) << c;
    for (char c : QByteArray("a-+ x"))
        EXPECT_FALSE(PhoneFieldChecks::PHnumberKeyAllowed(c)) << c;
    EXPECT_FALSE(PhoneFieldChecks::LetterKeyAllowed('q'));
    EXPECT_FALSE(PhoneFieldChecks::LetterKeyAllowed('Z'));
    EXPECT_TRUE(PhoneFieldChecks::LetterKeyAllowed('-'));
    EXPECT_TRUE(PhoneFieldChecks::LetterKeyAllowed('7'));
}
