#include "directory/PhoneDirectory.h"
#include "parameters/ParameterControlInfo.h"
#include "parameters/ParameterControls.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using E = ParamEdit;
using K = ParamCheck;

class Interlocks : public ::testing::Test
{
protected:
    void SetUp() override
    {
        directory.DefinePhoneFields();
        directory.PhoneTable.open();
    }
    PhoneDirectory directory;
    ParameterControls c{&directory};
};

TEST_F(Interlocks, StartStateIsTheDefaultsWithNoRuleRun)
{
    EXPECT_TRUE(c.isChecked(K::RadioButton1));
    EXPECT_TRUE(c.isChecked(K::rly2off));
    EXPECT_TRUE(c.isChecked(K::opt932));
    EXPECT_TRUE(c.isChecked(K::opt933));
    EXPECT_FALSE(c.isChecked(K::GlobalCode));
    EXPECT_FALSE(c.isEnabled(K::rly2tim));
    EXPECT_TRUE(c.isEnabled(K::opt937));
    for (int n = 0; n < ParamNoteCount; ++n)
        EXPECT_FALSE(c.isNoteShown(ParamNote(n)));
    for (int e = 0; e < ParamEditCount; ++e)
        EXPECT_FALSE(c.isDimmed(ParamEdit(e)));
    EXPECT_EQ(c.text(E::spd8), QByteArray("36008"));
    EXPECT_EQ(c.text(E::Phs_na), QByteArray("15"));
    EXPECT_EQ(c.text(E::NewPin), QByteArray());
    EXPECT_FALSE(c.saveParamEnabled());
}

TEST_F(Interlocks, RadioButtonsOfAChoiceExcludeEachOtherAndTurningOffLeavesNone)
{
    QSignalSpy spy(&c, &ParameterControls::checkedChanged);
    c.setChecked(K::opt931, true);
    EXPECT_TRUE(c.isChecked(K::opt931));
    EXPECT_FALSE(c.isChecked(K::RadioButton1));
    EXPECT_FALSE(c.isChecked(K::opt936));
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(0).at(0).value<ParamCheck>(), K::opt931);
    EXPECT_EQ(spy.at(1).at(0).value<ParamCheck>(), K::RadioButton1);
    EXPECT_TRUE(c.isChecked(K::rly2off)); // the other choice is untouched

    c.setChecked(K::opt931, false);
    EXPECT_FALSE(c.isChecked(K::RadioButton1) || c.isChecked(K::opt931) || c.isChecked(K::opt936));
    EXPECT_FALSE(c.isEnabled(K::opt937)); // turning off runs no rule

    spy.clear();
    c.setChecked(K::opt937, true); // a check box inside the group
    c.setChecked(K::opt936, true);
    EXPECT_TRUE(c.isChecked(K::opt937));
    c.setChecked(K::opt936, true); // no change, no signal
    EXPECT_EQ(spy.count(), 2);
}

TEST_F(Interlocks, TextsEndAtTheirFirstNulAndSignalOnlyChanges)
{
    QSignalSpy spy(&c, &ParameterControls::textChanged);
    c.setText(E::msg2, QByteArray("abc\0def", 7));
    EXPECT_EQ(c.text(E::msg2), QByteArray("abc"));
    c.setText(E::msg2, "abc");
    EXPECT_EQ(spy.count(), 1);
    c.setText(E::msg0, QByteArray("\xFF\x80 x"));
    EXPECT_EQ(c.text(E::msg0), QByteArray("\xFF\x80 x"));
}

TEST_F(Interlocks, UncheckingGlobalCodesDimsTheGlobalCodesAndRestoresTheDirectoryColumns)
{
    c.click(K::GlobalCode);
    EXPECT_TRUE(directory.codeColumnsDimmed());
    EXPECT_FALSE(c.isDimmed(E::code_g1));
    EXPECT_FALSE(c.isNoteShown(ParamNote::Label47));

    QSignalSpy columns(&directory, &PhoneDirectory::codeColumnsDimmedChanged);
    c.click(K::GlobalCode);
    EXPECT_FALSE(directory.codeColumnsDimmed());
    EXPECT_EQ(columns.count(), 1);
    EXPECT_TRUE(c.isDimmed(E::code_g1));
    EXPECT_TRUE(c.isDimmed(E::code_g2));
    EXPECT_FALSE(c.isDimmed(E::code_ic1));
    EXPECT_TRUE(c.isNoteShown(ParamNote::Label47));
}

TEST_F(Interlocks, WithoutAnOpenPhoneListGlobalCodesChangeOnlyTheRelayCodesTab)
{
    directory.PhoneTable.close();
    QSignalSpy columns(&directory, &PhoneDirectory::codeColumnsDimmedChanged);
    c.setChecked(K::GlobalCode, true);
    c.setChecked(K::GlobalCode, false);
    EXPECT_EQ(columns.count(), 0);
    EXPECT_TRUE(c.isNoteShown(ParamNote::Label47));

    ParameterControls alone; // no directory at all
    alone.setChecked(K::GlobalCode, true);
    alone.setChecked(K::GlobalCode, false);
    EXPECT_TRUE(alone.isDimmed(E::code_g2));
}

TEST_F(Interlocks, KeyPressOverrideDimsRelayTwoCodesButGlobalCodeRuleDecidesCodeG2)
{
    c.setChecked(K::GlobalCode, true);
    c.click(K::rly2key);
    EXPECT_TRUE(c.isEnabled(K::rly2tim));
    EXPECT_TRUE(c.isDimmed(E::code_ic2));
    EXPECT_TRUE(c.isDimmed(E::code_sd2));
    EXPECT_FALSE(c.isDimmed(E::code_g2));
    EXPECT_FALSE(c.isDimmed(E::code_ic1));
    EXPECT_TRUE(c.isNoteShown(ParamNote::Label31));
    EXPECT_TRUE(c.isNoteShown(ParamNote::Bevel2));

    c.setChecked(K::GlobalCode, false);
    c.click(K::rly2line);
    EXPECT_TRUE(c.isDimmed(E::code_g2));
    EXPECT_TRUE(c.isEnabled(K::rly2tim));

    c.click(K::rly2tim);
    c.click(K::rly2off);
    EXPECT_FALSE(c.isEnabled(K::rly2tim));
    EXPECT_TRUE(c.isChecked(K::rly2tim));
    EXPECT_FALSE(c.isDimmed(E::code_ic2));
    EXPECT_FALSE(c.isDimmed(E::code_sd2));
    EXPECT_TRUE(c.isDimmed(E::code_g2)); // global codes are off
    EXPECT_FALSE(c.isNoteShown(ParamNote::Label31));
    EXPECT_FALSE(c.isNoteShown(ParamNote::Bevel2));
}

TEST_F(Interlocks, ClickingTheCheckedRadioRunsNothing)
{
    c.click(K::rly2off);
    EXPECT_FALSE(c.isNoteShown(ParamNote::Label47));
    EXPECT_FALSE(c.isDimmed(E::code_g1));
}

TEST_F(Interlocks, ScrollLineTwoDisablesTheClockBoxWithoutClearingIt)
{
    c.click(K::opt937);
    c.click(K::opt931);
    EXPECT_FALSE(c.isEnabled(K::opt937));
    EXPECT_TRUE(c.isChecked(K::opt937));
    c.click(K::opt936);
    EXPECT_FALSE(c.isEnabled(K::opt937));
    c.click(K::RadioButton1);
    EXPECT_TRUE(c.isEnabled(K::opt937));
    EXPECT_TRUE(c.isChecked(K::opt937));
}

TEST_F(Interlocks, MessagesWriteFollowsTheTabAndTheConnection)
{
    QSignalSpy spy(&c, &ParameterControls::saveParamEnabledChanged);
    c.setCurrentTab(ParamTab::phopt);
    EXPECT_FALSE(c.saveParamEnabled()); // offline
    c.setOnline(true);
    EXPECT_TRUE(c.saveParamEnabled());
    c.setCurrentTab(ParamTab::TabSheet3);
    EXPECT_FALSE(c.saveParamEnabled());
    c.setCurrentTab(ParamTab::TabSheet1);
    EXPECT_TRUE(c.saveParamEnabled());
    c.setOnline(false);
    EXPECT_FALSE(c.saveParamEnabled());
    EXPECT_EQ(spy.count(), 4);
}

TEST(ParameterControlTable, EveryControlHasItsNameAndTheRangesMatchTheClamps)
{
    for (int e = 0; e < ParamEditCount; ++e)
        EXPECT_EQ(ParameterControlInfo::edit(ParamEdit(e)).id, ParamEdit(e)) << e;
    for (int k = 0; k < ParamCheckCount; ++k)
        EXPECT_EQ(ParameterControlInfo::check(ParamCheck(k)).id, ParamCheck(k)) << k;
    const ParamEditInfo &rc = ParameterControlInfo::edit(E::Phs_rc);
    EXPECT_STREQ(rc.hint, "1 to 30");
    EXPECT_EQ(rc.maximum, 35);
    EXPECT_FALSE(ParameterControlInfo::edit(E::Phs_na).initiallyVisible);
    EXPECT_FALSE(ParameterControlInfo::check(K::opt933).visible);
    EXPECT_STREQ(ParameterControlInfo::edit(E::Phs_ls).labelHint, "Message scrolling speed (1 to 50) ");
}
