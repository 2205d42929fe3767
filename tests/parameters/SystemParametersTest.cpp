#include "directory/PhoneDirectory.h"
#include "parameters/NibbleCodec.h"
#include "parameters/ParameterControls.h"
#include "parameters/SystemParameters.h"
#include "support/Recorders.h"

#include <gtest/gtest.h>

using namespace SystemParameters;
using E = ParamEdit;
using K = ParamCheck;

namespace {
const QByteArray kDefaultRecord = "01030503021414000000140?0001000<";

// Characters of byte n (0-based) of a record 0001 payload.
QByteArray byteOf(const QByteArray &payload, int n)
{
    return payload.mid(2 * n, 2);
}
} // namespace

class SystemRecord : public ::testing::Test
{
protected:
    QByteArray encode()
    {
        const std::optional<QByteArray> payload = EncodeSystemParameters(c, prompt);
        EXPECT_TRUE(payload.has_value());
        return payload.value_or(QByteArray());
    }
    ParameterControls c;
    RecordingPrompt prompt;
};

TEST_F(SystemRecord, DefaultsEncodeAsTheKnownRecord)
{
    const QByteArray payload = encode();
    EXPECT_EQ(payload, kDefaultRecord);
    EXPECT_EQ(payload.size(), 32);
    EXPECT_EQ(OptionBits(c), 12);
    EXPECT_TRUE(prompt.messages.isEmpty());
}

TEST_F(SystemRecord, OutOfRangeNumbersAreClampedAndWrittenBack)
{
    c.setText(E::Phs_rc, "40");
    c.setText(E::Phs_na, "5");
    c.setText(E::Phs_run, "0");
    c.setText(E::Phs_ls, "50");
    c.setText(E::Phs_rt, "07");
    c.setText(E::Cont_time, "255");
    const QByteArray payload = encode();
    EXPECT_EQ(byteOf(payload, 4), QByteArray("23"));
    EXPECT_EQ(c.text(E::Phs_rc), QByteArray("35"));
    EXPECT_EQ(byteOf(payload, 11), QByteArray("0?"));
    EXPECT_EQ(c.text(E::Phs_na), QByteArray("15"));
    EXPECT_EQ(byteOf(payload, 3), QByteArray("01"));
    EXPECT_EQ(c.text(E::Phs_run), QByteArray("1"));
    EXPECT_EQ(byteOf(payload, 10), QByteArray("32"));
    EXPECT_EQ(c.text(E::Phs_ls), QByteArray("50"));
    EXPECT_EQ(c.text(E::Phs_rt), QByteArray("07"));
    EXPECT_EQ(byteOf(payload, 2), QByteArray("07"));
    EXPECT_EQ(c.text(E::Cont_time), QByteArray("99"));
    EXPECT_TRUE(prompt.messages.isEmpty());
}

TEST_F(SystemRecord, RelayTwoByteCountsTheTimerBoxEvenWhenDisabled)
{
    c.setChecked(K::rly2key, true);
    c.setChecked(K::rly2tim, true);
    EXPECT_EQ(byteOf(encode(), 12), QByteArray("09"));

    c.setChecked(K::rly2off, true);
    EXPECT_FALSE(c.isEnabled(K::rly2tim));
    EXPECT_TRUE(c.isChecked(K::rly2tim));
    EXPECT_EQ(byteOf(encode(), 12), QByteArray("08"));

    c.setChecked(K::rly2line, true);
    c.setChecked(K::rly2tim, false);
    EXPECT_EQ(byteOf(encode(), 12), QByteArray("02"));
    c.setChecked(K::Opt_sw2_1, true);
    EXPECT_EQ(byteOf(encode(), 8), QByteArray("01"));
}

TEST_F(SystemRecord, OptionBitsSumTheCheckedControls)
{
    // opt931 and opt936 exclude each other on the page, so the highest
    // reachable sums have one of the two.
    for (K k : {K::opt930, K::opt931, K::opt932, K::opt933, K::opt934, K::GlobalCode, K::opt937})
        c.setChecked(k, true);
    EXPECT_EQ(byteOf(encode(), 15), QByteArray(";?")); // 0xBF
    c.setChecked(K::opt936, true);
    EXPECT_EQ(byteOf(encode(), 15), QByteArray("?=")); // 0xFD
    EXPECT_EQ(NibbleCodec::EncodeNibbleByte(0xFF), QByteArray("??"));
    for (K k : {K::opt930, K::opt932, K::opt933, K::opt934, K::GlobalCode, K::opt936, K::opt937})
        c.setChecked(k, false);
    EXPECT_EQ(byteOf(encode(), 15), QByteArray("00"));
}

TEST_F(SystemRecord, AnEditThatIsNotAWholeNumberStopsTheEncodeWhereItStands)
{
    c.setText(E::Phs_run, "100"); // clamped before the bad one
    c.setText(E::Phs_but, "x1");
    c.setText(E::Phs_rt, "0");    // after it: left alone
    EXPECT_FALSE(EncodeSystemParameters(c, prompt).has_value());
    EXPECT_EQ(prompt.messages, QStringList{QStringLiteral("'x1' is not a valid integer value")});
    EXPECT_EQ(c.text(E::Phs_run), QByteArray("99"));
    EXPECT_EQ(c.text(E::Phs_rt), QByteArray("0"));

    prompt.messages.clear();
    c.setText(E::Phs_but, "1");
    c.setText(E::Cont_time, "");
    EXPECT_FALSE(EncodeSystemParameters(c, prompt).has_value());
    EXPECT_EQ(prompt.messages, QStringList{QStringLiteral("'' is not a valid integer value")});
    EXPECT_EQ(c.text(E::Phs_rt), QByteArray("1"));
}

TEST_F(SystemRecord, DecodeShowsNumbersUnclampedAndRoundTrips)
{
    c.setText(E::Phs_ml, "0");
    c.setText(E::Phs_rc, "7");
    c.setText(E::Phs_but, "12");
    c.setChecked(K::rly2line, true);
    c.setChecked(K::opt936, true);
    c.setChecked(K::GlobalCode, true);
    const QByteArray payload = encode();

    ParameterControls other;
    ASSERT_TRUE(DecodeSystemParameters(other, payload + "trailing junk ignored", prompt));
    for (int e = 0; e <= int(E::Sil_time); ++e)
        EXPECT_EQ(other.text(ParamEdit(e)), c.text(ParamEdit(e))) << e;
    for (int k = 0; k < ParamCheckCount; ++k)
        EXPECT_EQ(other.isChecked(ParamCheck(k)), c.isChecked(ParamCheck(k))) << k;

    ASSERT_TRUE(DecodeSystemParameters(other, "????" + kDefaultRecord.mid(4), prompt));
    EXPECT_EQ(other.text(E::Phs_ml), QByteArray("255"));
    EXPECT_EQ(other.text(E::Phs_sl), QByteArray("255"));
    EXPECT_TRUE(prompt.messages.isEmpty());
}

TEST_F(SystemRecord, DecodeOfRelayTwoAndLineTwoSettlesTheChoices)
{
    QByteArray payload = kDefaultRecord;
    c.setChecked(K::opt931, true);
    EXPECT_FALSE(c.isEnabled(K::opt937));
    payload.replace(24, 2, "08");
    payload.replace(30, 2, "00");
    ASSERT_TRUE(DecodeSystemParameters(c, payload, prompt));
    EXPECT_TRUE(c.isChecked(K::rly2off));
    EXPECT_TRUE(c.isChecked(K::rly2tim));
    EXPECT_FALSE(c.isEnabled(K::rly2tim));
    EXPECT_TRUE(c.isChecked(K::RadioButton1));
    EXPECT_FALSE(c.isChecked(K::opt931));
    EXPECT_TRUE(c.isEnabled(K::opt937)); // the radio rule ran

    payload.replace(24, 2, "03"); // both bit rules: key, then line
    ASSERT_TRUE(DecodeSystemParameters(c, payload, prompt));
    EXPECT_TRUE(c.isChecked(K::rly2line));
    EXPECT_FALSE(c.isChecked(K::rly2key));
    EXPECT_FALSE(c.isChecked(K::rly2tim));
    EXPECT_TRUE(c.isEnabled(K::rly2tim));
    EXPECT_TRUE(c.isNoteShown(ParamNote::Label31));

    payload.replace(24, 2, "0:"); // 10: line with the timer box
    payload.replace(30, 2, "?>"); // bits 1 and 6 both set: pulsing wins
    ASSERT_TRUE(DecodeSystemParameters(c, payload, prompt));
    EXPECT_TRUE(c.isChecked(K::rly2line));
    EXPECT_TRUE(c.isChecked(K::rly2tim));
    EXPECT_TRUE(c.isChecked(K::opt936));
    EXPECT_FALSE(c.isChecked(K::opt931));
    EXPECT_FALSE(c.isChecked(K::RadioButton1));
    EXPECT_FALSE(c.isEnabled(K::opt937));
    EXPECT_TRUE(c.isChecked(K::opt937));
    EXPECT_TRUE(c.isChecked(K::GlobalCode));
    EXPECT_TRUE(prompt.messages.isEmpty());
}

TEST_F(SystemRecord, ShortPayloadsStopAtTheFirstByteThatCannotBeRead)
{
    const QString empty = QStringLiteral("'' is not a valid integer value");
    c.setText(E::Phs_lt, "4");
    c.setChecked(K::Opt_sw2_1, true);
    // Ten characters: bytes 0-4, then Sil_time and Cont_time empty; byte 8 stops it.
    EXPECT_FALSE(DecodeSystemParameters(c, "0104070809", prompt));
    EXPECT_EQ(c.text(E::Phs_rc), QByteArray("9"));
    EXPECT_EQ(c.text(E::Sil_time), QByteArray());
    EXPECT_EQ(c.text(E::Cont_time), QByteArray());
    EXPECT_EQ(c.text(E::Phs_lt), QByteArray("4"));
    EXPECT_TRUE(c.isChecked(K::Opt_sw2_1));
    EXPECT_EQ(prompt.messages, QStringList{empty});

    // Twenty characters reach byte 9; bytes 10 and 11 are empty, byte 12 stops it.
    prompt.messages.clear();
    c.setChecked(K::rly2key, true);
    EXPECT_FALSE(DecodeSystemParameters(c, kDefaultRecord.left(20), prompt));
    EXPECT_FALSE(c.isChecked(K::Opt_sw2_1));
    EXPECT_EQ(c.text(E::Phs_lt), QByteArray("0"));
    EXPECT_EQ(c.text(E::Phs_ls), QByteArray());
    EXPECT_EQ(c.text(E::Phs_na), QByteArray());
    EXPECT_TRUE(c.isChecked(K::rly2key));
    EXPECT_EQ(prompt.messages, QStringList{empty});

    // Twenty-five characters: byte 12 is a lone "0" (its missing half counts
    // as 0), byte 13 is empty and the option byte stops it.
    prompt.messages.clear();
    c.setChecked(K::GlobalCode, true);
    EXPECT_FALSE(DecodeSystemParameters(c, kDefaultRecord.left(25), prompt));
    EXPECT_TRUE(c.isChecked(K::rly2off));
    EXPECT_EQ(c.text(E::Phs_but), QByteArray());
    EXPECT_TRUE(c.isChecked(K::GlobalCode));
    EXPECT_EQ(prompt.messages, QStringList{empty});

    // What an empty reply slice becomes.
    prompt.messages.clear();
    EXPECT_FALSE(DecodeSystemParameters(c, "ERROR", prompt));
    EXPECT_EQ(c.text(E::Phs_ml), QByteArray("0"));
    EXPECT_EQ(c.text(E::Phs_rt), QByteArray("0"));
    EXPECT_EQ(c.text(E::Phs_run), QByteArray());
    EXPECT_EQ(prompt.messages, QStringList{empty});
}

TEST_F(SystemRecord, DecodeRefreshesTheDirectoryCodeColumns)
{
    PhoneDirectory directory;
    directory.DefinePhoneFields();
    directory.PhoneTable.open();
    ParameterControls withList(&directory);
    QByteArray payload = kDefaultRecord;
    payload.replace(30, 2, "2<"); // GlobalCode, opt932, opt933
    ASSERT_TRUE(DecodeSystemParameters(withList, payload, prompt));
    EXPECT_TRUE(directory.codeColumnsDimmed());
    EXPECT_FALSE(withList.isDimmed(E::code_g1));
    EXPECT_FALSE(withList.isNoteShown(ParamNote::Label47));
    ASSERT_TRUE(DecodeSystemParameters(withList, kDefaultRecord, prompt));
    EXPECT_FALSE(directory.codeColumnsDimmed());
    EXPECT_TRUE(withList.isDimmed(E::code_g1));
    EXPECT_TRUE(withList.isNoteShown(ParamNote::Label47));
}
