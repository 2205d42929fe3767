#include "parameters/NibbleCodec.h"
#include "parameters/RecordFields.h"
#include "directory/DialDigits.h"
#include "parameters/WholeNumber.h"

#include <gtest/gtest.h>

using namespace NibbleCodec;
using namespace RecordFields;

namespace {
const QByteArray ff(int n) { return QByteArray(n, '\xFF'); }
} // namespace

TEST(NibbleBytes, EncodeHighNibbleFirstWithColonToQuestionMarkForTenToFifteen)
{
    EXPECT_EQ(EncodeNibbleByte(0), QByteArray("00"));
    EXPECT_EQ(EncodeNibbleByte(20), QByteArray("14"));
    EXPECT_EQ(EncodeNibbleByte(171), QByteArray(":;"));
    EXPECT_EQ(EncodeNibbleByte(255), QByteArray("??"));
    EXPECT_EQ(EncodeNibbleByte(12), QByteArray("0<"));
    EXPECT_EQ(EncodeNibbleByte(256), QByteArray("10")); // first two of "100"
    EXPECT_EQ(EncodeNibbleByte(QByteArray("07")), QByteArray("07"));
    EXPECT_FALSE(EncodeNibbleByte(QByteArray("")).has_value());
    EXPECT_FALSE(EncodeNibbleByte(QByteArray("1a")).has_value());
}

TEST(NibbleBytes, DecodeCountsStrangeAndMissingCharactersAsZero)
{
    EXPECT_EQ(DecodeNibbleByte(""), QByteArray());
    EXPECT_EQ(DecodeNibbleByte("1?"), QByteArray("31"));
    EXPECT_EQ(DecodeNibbleByte("?1"), QByteArray("241"));
    EXPECT_EQ(DecodeNibbleByte("A1"), QByteArray("1"));
    EXPECT_EQ(DecodeNibbleByte("1"), QByteArray("16"));
    EXPECT_EQ(DecodeNibbleByte(QByteArray("\0\x05", 2)), QByteArray("0"));
    EXPECT_EQ(DecodeNibbleByte(QByteArray("\x3F\xFF", 2)), QByteArray("240"));
    EXPECT_EQ(DecodeNibbleByte("??x"), QByteArray("255"));
    for (int v = 0; v < 256; ++v)
        ASSERT_EQ(DecodeNibbleByte(EncodeNibbleByte(v)), QByteArray::number(v));
}

TEST(WholeNumbers, OnlySignAndDigitsWithinThirtyTwoBits)
{
    EXPECT_EQ(WholeNumber::parse("07"), 7);
    EXPECT_EQ(WholeNumber::parse("-3"), -3);
    EXPECT_EQ(WholeNumber::parse("+12"), 12);
    EXPECT_EQ(WholeNumber::parse("-2147483648"), std::numeric_limits<int>::min());
    for (const char *bad : {"", "-", "1a", " 5", "5 ", "2147483648", "99999999999999999999", "$10"})
        EXPECT_FALSE(WholeNumber::parse(bad).has_value()) << bad;
    EXPECT_EQ(WholeNumber::invalidMessage(""), QStringLiteral("'' is not a valid integer value"));
    EXPECT_EQ(WholeNumber::invalidMessage("\xE9t"), QStringLiteral("'\u00E9t' is not a valid integer value"));
}

TEST(RecordFieldHelpers, PadFieldFillsButNeverCuts)
{
    EXPECT_EQ(PadField("ab", 4, ' '), QByteArray("ab  "));
    EXPECT_EQ(PadField("", 3, '\0'), QByteArray(3, '\0'));
    EXPECT_EQ(PadField("abcdef", 4, ' '), QByteArray("abcdef"));
    EXPECT_EQ(PadField("12", 4, '\xFF'), QByteArray("12") + ff(2));
}

TEST(RecordFieldHelpers, ClampKeepsInRangeTextAsTypedAndRejectsNonNumbers)
{
    EXPECT_EQ(ClampParameter("40", 1, 35), QByteArray("35"));
    EXPECT_EQ(ClampParameter("5", 15, 99), QByteArray("15"));
    EXPECT_EQ(ClampParameter("0", 1, 99), QByteArray("1"));
    EXPECT_EQ(ClampParameter("50", 0, 50), QByteArray("50"));
    EXPECT_EQ(ClampParameter("07", 1, 99), QByteArray("07"));
    EXPECT_EQ(ClampParameter("-4", 0, 9), QByteArray("0"));
    EXPECT_FALSE(ClampParameter("", 0, 9).has_value());
    EXPECT_FALSE(ClampParameter("3x", 0, 9).has_value());
}

TEST(RecordFieldHelpers, GateCodesKeepLeadingDigitsFilledWithErased)
{
    EXPECT_EQ(EncodeGateCode("12a4"), QByteArray("12") + ff(2));
    EXPECT_EQ(EncodeGateCode("a123"), ff(4));
    EXPECT_EQ(EncodeGateCode(""), ff(4));
    EXPECT_EQ(EncodeGateCode("123456"), QByteArray("1234"));
    EXPECT_EQ(EncodeGateCode("0042"), QByteArray("0042"));
}

TEST(RecordFieldHelpers, CleanReplyFieldTurnsErasedIntoNulAndEmptyIntoError)
{
    EXPECT_EQ(CleanReplyField(""), QByteArray("ERROR"));
    EXPECT_EQ(CleanReplyField(QByteArray("12") + ff(2)), QByteArray("12\0\0", 4));
    EXPECT_EQ(CleanReplyField(QByteArray("a\xFE\x80 ")), QByteArray("a\xFE\x80 "));
}

TEST(RecordFieldHelpers, SliceCountsFromOneAndToleratesShortText)
{
    EXPECT_EQ(slice("r0006abcd", 6, 9), QByteArray("abcd"));
    EXPECT_EQ(slice("r0006ab", 6, 9), QByteArray("ab"));
    EXPECT_EQ(slice("r0006", 6, 9), QByteArray());
    EXPECT_EQ(slice("", 1, 4), QByteArray());
    EXPECT_EQ(slice("abc", 3, 3), QByteArray("c"));
}

TEST(SpeedDialDigitConversions, DecodeStopsAtTheFirstFillerAndMapsDialSigns)
{
    EXPECT_EQ(DecodeDialDigits("1234:;<5??????"), QByteArray("1234*#p5"));
    EXPECT_EQ(DecodeDialDigits("????"), QByteArray());
    EXPECT_EQ(DecodeDialDigits("36001"), QByteArray("36001"));
    EXPECT_EQ(DecodeDialDigits(QByteArray("12\0\0", 4)), QByteArray("12\0\0", 4));
}

TEST(SpeedDialDigitConversions, EncodeEndsAtTheFirstStrangeCharacterAndAtSixteen)
{
    EXPECT_EQ(EncodeDialDigits("*12#p3", 16), QByteArray(":12;<3"));
    EXPECT_EQ(EncodeDialDigits("12:3P", 16), QByteArray("12<3<"));
    EXPECT_EQ(EncodeDialDigits("555-1234", 16), QByteArray("555"));
    EXPECT_EQ(EncodeDialDigits("12345678901234567890", 16), QByteArray("1234567890123456"));
    EXPECT_EQ(EncodeDialDigits("12345678901234567890", 40), QByteArray("1234567890123456"));
    EXPECT_EQ(EncodeDialDigits("12345", 3), QByteArray("123"));
    EXPECT_EQ(EncodeDialDigits("", 16), QByteArray());
}
