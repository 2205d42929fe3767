// The parameter page's reads and writes against the virtual panel's engine,
// on virtual time: what the panel stores is exactly what the records say.
#include "parameters/ParameterControls.h"
#include "parameters/ParameterReads.h"
#include "parameters/ParameterWrites.h"
#include "support/AppHarness.h"
#include "support/EnginePanel.h"

#include <gtest/gtest.h>

namespace {
QByteArray ff(int n)
{
    return QByteArray(n, char(0xFF));
}

struct ParametersOnPanel : ::testing::Test
{
    AppHarness h;
    EnginePanel panel{h.port};
    ParameterControls controls{&h.directory};

    void SetUp() override
    {
        h.logOnWithPin();
    }
};
} // namespace

TEST_F(ParametersOnPanel, WriteAllLeavesTheExactRecordsInThePanel)
{
    controls.setText(ParamEdit::Phs_rc, "40"); // clamped to 35
    controls.setText(ParamEdit::msg0, "Hello");
    controls.setText(ParamEdit::msg2, "Scroll");
    controls.setText(ParamEdit::code_g1, "12a4");
    controls.setText(ParamEdit::spd3, "*1#p");
    controls.click(ParamCheck::rly2key);
    controls.setChecked(ParamCheck::rly2tim, true);

    ParameterWrites::WriteAllClick(h.ctx, controls);

    EXPECT_TRUE(h.prompt.messages.isEmpty()) << qPrintable(h.prompt.messages.join(QLatin1Char('|')));
    const PanelMemory &m = panel.memory();
    EXPECT_EQ(m.record(1), QByteArray("01030503231414000000140?0901000<"));
    EXPECT_EQ(m.record(2), QByteArray("Hello") + QByteArray(11, ' ') + QByteArray(16, ' '));
    EXPECT_EQ(m.record(3), QByteArray("Scroll") + QByteArray(26, '\0'));
    EXPECT_EQ(m.record(6), QByteArray("12") + ff(2) + ff(20) + ff(8));
    EXPECT_EQ(m.record(8), QByteArray(":1;<") + ff(12) + QByteArray("36004") + ff(11));
    EXPECT_EQ(controls.text(ParamEdit::Phs_rc), QByteArray("35"));
    EXPECT_EQ(h.port.commands().last(), QByteArray("u"));
}

TEST_F(ParametersOnPanel, ARefusedRecordIsReportedAndTheRestIsStillWritten)
{
    panel.faults().errorP = 4; // every attempt at the first record, 0006
    controls.setText(ParamEdit::code_g1, "4321");
    controls.setText(ParamEdit::msg4, "Pulse");
    ParameterWrites::WriteAllClick(h.ctx, controls);
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("There was an error\r\nin writing the Codes")});
    EXPECT_NE(panel.memory().record(6).left(4), QByteArray("4321"));
    EXPECT_EQ(panel.memory().record(5).left(5), QByteArray("Pulse"));
}

TEST_F(ParametersOnPanel, ReadAllShowsWhatThePanelHolds)
{
    panel.memory().setRecord(1, "0204080;031:1<000001050?0?0000??"); // byte 15: every option
    panel.memory().setRecord(6, QByteArray("1111") + ff(4) + QByteArray("33") + ff(22));
    panel.memory().setRecord(10, QByteArray("0800;") + ff(11) + QByteArray("<<9") + ff(13));
    ParameterReads::ReadAllClick(h.ctx, controls);
    EXPECT_EQ(controls.text(ParamEdit::Phs_ml), QByteArray("2"));
    EXPECT_EQ(controls.text(ParamEdit::Phs_run), QByteArray("11"));
    EXPECT_EQ(controls.text(ParamEdit::code_g1), QByteArray("1111"));
    EXPECT_EQ(controls.text(ParamEdit::code_g2), QByteArray());
    EXPECT_EQ(controls.text(ParamEdit::code_ic1), QByteArray("33"));
    EXPECT_EQ(controls.text(ParamEdit::spd7), QByteArray("0800#"));
    EXPECT_EQ(controls.text(ParamEdit::spd8), QByteArray("pp9"));
    EXPECT_TRUE(controls.isChecked(ParamCheck::GlobalCode));
    EXPECT_TRUE(controls.isChecked(ParamCheck::opt937));
}
