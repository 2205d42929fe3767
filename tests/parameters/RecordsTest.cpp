#include "parameters/ParameterControls.h"
#include "parameters/ParameterRecords.h"

#include <gtest/gtest.h>

using namespace ParameterRecords;
using E = ParamEdit;

namespace {
const QByteArray ff(int n) { return QByteArray(n, '\xFF'); }
const QByteArray nul(int n) { return QByteArray(n, '\0'); }
} // namespace

TEST(MessageRecords, FixedAndPulsingHalvesAreSpaceFilledScrollsNulFilled)
{
    ParameterControls c;
    c.setText(E::msg0, "HELLO");
    EXPECT_EQ(EncodeMessages(c, 2), QByteArray("HELLO") + QByteArray(27, ' '));
    c.setText(E::msg1, "0123456789abcdef");
    EXPECT_EQ(EncodeMessages(c, 2), QByteArray("HELLO") + QByteArray(11, ' ') + "0123456789abcdef");
    c.setText(E::msg2, "abc");
    EXPECT_EQ(EncodeMessages(c, 3), QByteArray("abc") + nul(29));
    EXPECT_EQ(EncodeMessages(c, 4), nul(32));
    c.setText(E::msg5, "\xFF\xE9");
    EXPECT_EQ(EncodeMessages(c, 5), QByteArray(16, ' ') + "\xFF\xE9" + QByteArray(14, ' '));
    for (int r = 2; r <= 5; ++r)
        EXPECT_EQ(EncodeMessages(c, r).size(), 32);
}

TEST(MessageRecords, DecodingKeepsTrailingSpacesEndsAtNulAndShowsErrorForNothing)
{
    ParameterControls c;
    DecodeMessages(c, 2, QByteArray("Welcome") + QByteArray(9, ' ') + "Line two\xE9" + QByteArray(7, ' '));
    EXPECT_EQ(c.text(E::msg0), QByteArray("Welcome") + QByteArray(9, ' '));
    EXPECT_EQ(c.text(E::msg1), QByteArray("Line two\xE9") + QByteArray(7, ' '));
    DecodeMessages(c, 3, QByteArray("scroll") + nul(26));
    EXPECT_EQ(c.text(E::msg2), QByteArray("scroll"));
    DecodeMessages(c, 4, QByteArray("x") + ff(3) + "y");
    EXPECT_EQ(c.text(E::msg3), QByteArray("x"));
    DecodeMessages(c, 5, "");
    EXPECT_EQ(c.text(E::msg4), QByteArray("ERROR"));
    EXPECT_EQ(c.text(E::msg5), QByteArray("ERROR"));
    DecodeMessages(c, 5, "only the first half");
    EXPECT_EQ(c.text(E::msg4), QByteArray("only the first h"));
    EXPECT_EQ(c.text(E::msg5), QByteArray("alf"));
}

TEST(GateCodeRecord, CodesAreLeadingDigitsFilledWithErasedAndEightErasedAtTheEnd)
{
    ParameterControls c;
    c.setText(E::code_g1, "12a4");
    c.setText(E::code_g2, "a123");
    c.setText(E::code_ic1, "");
    c.setText(E::code_ic2, "9876");
    c.setText(E::code_sd1, "0");
    c.setText(E::code_sd2, "ERROR");
    EXPECT_EQ(EncodeGateCodes(c), QByteArray("12") + ff(2) + ff(4) + ff(4) + "9876" + "0" + ff(3) + ff(4) + ff(8));
}

TEST(GateCodeRecord, DecodingEndsEachCodeAtItsErasedFilling)
{
    ParameterControls c;
    DecodeGateCodes(c, QByteArray("12") + ff(2) + "1234" + ff(4) + "5" + ff(3) + "0000" + ff(4) + "unused..");
    EXPECT_EQ(c.text(E::code_g1), QByteArray("12"));
    EXPECT_EQ(c.text(E::code_g2), QByteArray("1234"));
    EXPECT_EQ(c.text(E::code_ic1), QByteArray());
    EXPECT_EQ(c.text(E::code_ic2), QByteArray("5"));
    EXPECT_EQ(c.text(E::code_sd1), QByteArray("0000"));
    EXPECT_EQ(c.text(E::code_sd2), QByteArray());

    DecodeGateCodes(c, "");
    for (E e : {E::code_g1, E::code_g2, E::code_ic1, E::code_ic2, E::code_sd1, E::code_sd2})
        EXPECT_EQ(c.text(e), QByteArray("ERROR"));
    DecodeGateCodes(c, "123456");
    EXPECT_EQ(c.text(E::code_g2), QByteArray("56"));
    EXPECT_EQ(c.text(E::code_ic1), QByteArray("ERROR"));
}

TEST(SpeedDialRecords, PairsAreDialDigitsFilledWithErased)
{
    ParameterControls c;
    EXPECT_EQ(EncodeSpeedDials(c, 7), QByteArray("36001") + ff(11) + "36002" + ff(11));
    c.setText(E::spd7, "*12#p3");
    c.setText(E::spd8, "0123456789012345");
    EXPECT_EQ(EncodeSpeedDials(c, 10), QByteArray(":12;<3") + ff(10) + "0123456789012345");
    c.setText(E::spd3, "555-1234");
    c.setText(E::spd4, "");
    EXPECT_EQ(EncodeSpeedDials(c, 8), QByteArray("555") + ff(13) + ff(16));
}

TEST(SpeedDialRecords, DecodingConvertsDialSignsAndEndsAtFillerOrErased)
{
    ParameterControls c;
    DecodeSpeedDials(c, 9, QByteArray(":12;<3") + ff(10) + "0044??????????" + "??");
    EXPECT_EQ(c.text(E::spd5), QByteArray("*12#p3"));
    EXPECT_EQ(c.text(E::spd6), QByteArray("0044"));
    DecodeSpeedDials(c, 7, QByteArray("1") + ff(15));
    EXPECT_EQ(c.text(E::spd1), QByteArray("1"));
    EXPECT_EQ(c.text(E::spd2), QByteArray("ERROR"));
}

TEST(PinRecord, PinIsFilledWithErasedToThirtyTwo)
{
    ParameterControls c;
    EXPECT_EQ(EncodePin(c), ff(32));
    c.setText(E::NewPin, "4321");
    EXPECT_EQ(EncodePin(c), QByteArray("4321") + ff(28));
}
