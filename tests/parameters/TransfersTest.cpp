#include "parameters/ParameterControls.h"
#include "parameters/ParameterReads.h"
#include "parameters/ParameterWrites.h"
#include "support/AppHarness.h"
#include "ParameterPanel.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace ParameterReads;
using namespace ParameterWrites;
using E = ParamEdit;
using K = ParamCheck;

namespace {
const QByteArray ff(int n) { return QByteArray(n, '\xFF'); }
} // namespace

class ParameterTransfers : public ::testing::Test
{
protected:
    void SetUp() override
    {
        h.logOn();
        c.setOnline(true);
        h.port.setResponder([this](const QByteArray &command) { return panel(command); });
    }
    // Each command as its word and record number (payloads left off).
    QList<QByteArray> commandHeads() const
    {
        QList<QByteArray> heads;
        for (const QByteArray &command : h.port.commands())
            heads << (command.startsWith('p') ? command.left(5) : command);
        return heads;
    }
    QList<QByteArray> programmed() const
    {
        QList<QByteArray> records;
        for (const QByteArray &command : h.port.commands())
            if (command.startsWith('p'))
                records << command.mid(1, 4);
        return records;
    }

    AppHarness h;
    ParameterPanel panel;
    ParameterControls c{&h.directory};
};

TEST_F(ParameterTransfers, ReadAllIssuesItsFiveReadsInOrderAndShowsThePanelsValues)
{
    panel.records["0001"] = "00040:14061>2=0001030<2809070064";
    panel.records["0002"] = QByteArray("Welcome") + QByteArray(9, ' ') + "to Corvalen     ";
    panel.records["0003"] = QByteArray("Scrolling on") + QByteArray(20, '\0');
    panel.records["0005"] = QByteArray("Pulse one\xE9      Pulse two       ");
    panel.records["0006"] = QByteArray("1234") + "56" + ff(2) + ff(4) + "0007" + "9" + ff(3) + ff(4) + ff(8);
    panel.records["0008"] = QByteArray(":12;<3") + ff(10) + "0044" + ff(12);
    QSignalSpy offered(&c, &ParameterControls::saveAsOffered);

    ReadAllClick(h.ctx, c);

    EXPECT_EQ(h.port.commands(),
              (QList<QByteArray>{"r0006", "d00020005", "r0001", "r0006", "d00070010"}));
    EXPECT_EQ(h.waiter.waits(), (QList<qint32>{1, 500, 1, 1000, 1, 1000, 1, 500, 1, 1000}));
    EXPECT_EQ(h.feedback.events, (QStringList{"busy", "show", "hide", "idle", "show", "hide", "show", "hide", "busy",
                                              "show", "hide", "idle"}));
    EXPECT_EQ(offered.count(), 3);
    EXPECT_TRUE(h.prompt.messages.isEmpty());

    EXPECT_EQ(c.text(E::Phs_ml), QByteArray("0"));
    EXPECT_EQ(c.text(E::Phs_sl), QByteArray("4"));
    EXPECT_EQ(c.text(E::Phs_rt), QByteArray("10"));
    EXPECT_EQ(c.text(E::Phs_run), QByteArray("20"));
    EXPECT_EQ(c.text(E::Phs_rc), QByteArray("6"));
    EXPECT_EQ(c.text(E::Sil_time), QByteArray("30"));
    EXPECT_EQ(c.text(E::Cont_time), QByteArray("45"));
    EXPECT_EQ(c.text(E::Phs_lt), QByteArray("3"));
    EXPECT_EQ(c.text(E::Phs_ls), QByteArray("12"));
    EXPECT_EQ(c.text(E::Phs_na), QByteArray("40"));
    EXPECT_EQ(c.text(E::Phs_but), QByteArray("7"));
    EXPECT_TRUE(c.isChecked(K::Opt_sw2_1));
    EXPECT_TRUE(c.isChecked(K::rly2key));
    EXPECT_TRUE(c.isChecked(K::rly2tim));
    EXPECT_TRUE(c.isEnabled(K::rly2tim));
    EXPECT_TRUE(c.isChecked(K::opt936));
    EXPECT_FALSE(c.isChecked(K::RadioButton1));
    EXPECT_TRUE(c.isChecked(K::GlobalCode));
    EXPECT_FALSE(c.isChecked(K::opt933));
    EXPECT_TRUE(h.directory.codeColumnsDimmed());

    EXPECT_EQ(c.text(E::msg0), QByteArray("Welcome") + QByteArray(9, ' '));
    EXPECT_EQ(c.text(E::msg1), QByteArray("to Corvalen     "));
    EXPECT_EQ(c.text(E::msg2), QByteArray("Scrolling on"));
    EXPECT_EQ(c.text(E::msg3), QByteArray(32, ' '));
    EXPECT_EQ(c.text(E::msg4), QByteArray("Pulse one\xE9      "));
    EXPECT_EQ(c.text(E::code_g1), QByteArray("1234"));
    EXPECT_EQ(c.text(E::code_g2), QByteArray("56"));
    EXPECT_EQ(c.text(E::code_ic1), QByteArray());
    EXPECT_EQ(c.text(E::code_ic2), QByteArray("0007"));
    EXPECT_EQ(c.text(E::code_sd1), QByteArray("9"));
    EXPECT_EQ(c.text(E::spd3), QByteArray("*12#p3"));
    EXPECT_EQ(c.text(E::spd4), QByteArray("0044"));
    EXPECT_EQ(c.text(E::spd1), QByteArray());

    // The file record was captured at the end of the last code read.
    EXPECT_EQ(c.fileRecord().text(0, 4), QByteArray("1234"));
    EXPECT_EQ(c.fileRecord().text(295, 2), QByteArray("20"));
}

TEST_F(ParameterTransfers, ACodeReplyOfOnlyItsPrefixShowsErrorInEveryCodeEdit)
{
    panel.readLine["0006"] = "r0006";
    ReadCodeClick(h.ctx, c);
    for (E e : {E::code_g1, E::code_g2, E::code_ic1, E::code_ic2, E::code_sd1, E::code_sd2})
        EXPECT_EQ(c.text(e), QByteArray("ERROR"));
    EXPECT_TRUE(c.isNoteShown(ParamNote::Label47)); // RefreshCodeHighlights ran
}

TEST_F(ParameterTransfers, ASilentPanelStopsTheParameterDecodeButTheReadStillEnds)
{
    panel.silent = true;
    QSignalSpy offered(&c, &ParameterControls::saveAsOffered);
    ReadPara1Click(h.ctx, c);
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("'' is not a valid integer value")});
    EXPECT_EQ(h.feedback.events, (QStringList{"show", "hide"}));
    EXPECT_EQ(offered.count(), 1);
    EXPECT_EQ(c.fileRecord().text(295, 2), QByteArray()); // Phs_run was emptied

    ReadMsgsClick(h.ctx, c);
    ReadSpdClick(h.ctx, c);
    EXPECT_EQ(c.text(E::msg5), QByteArray("ERROR"));
    EXPECT_EQ(c.text(E::spd8), QByteArray("ERROR"));
}

TEST_F(ParameterTransfers, WriteAllAnsweredNoWritesNothing)
{
    h.prompt.answers = {false};
    WriteAllClick(h.ctx, c);
    EXPECT_EQ(h.prompt.questions, QStringList{QStringLiteral("ReWrite all Messages && Operating Parameters?")});
    EXPECT_TRUE(h.port.commands().isEmpty());
    EXPECT_TRUE(h.feedback.events.isEmpty());
    EXPECT_TRUE(h.status.commandTexts.isEmpty());
}

TEST_F(ParameterTransfers, WriteAllWritesTheTenRecordsInOrderWithExactPayloadsThenApplies)
{
    c.setText(E::code_g1, "12a4");
    c.setText(E::code_g2, "a123");
    c.setText(E::msg0, "HELLO");
    c.setText(E::msg2, "abc");
    c.setText(E::spd1, "*12#p3");
    c.setText(E::Phs_rc, "40");

    WriteAllClick(h.ctx, c);

    EXPECT_EQ(programmed(), (QList<QByteArray>{"0006", "0002", "0003", "0004", "0005", "0007", "0008", "0009", "0010",
                                               "0001"}));
    EXPECT_EQ(h.port.commands().last(), QByteArray("u"));
    EXPECT_EQ(h.status.commandTexts.mid(h.status.commandTexts.size() - 2), (QStringList{"Ready", "u"}));
    EXPECT_EQ(h.feedback.events, (QStringList{"busy", "idle"}));
    EXPECT_TRUE(h.prompt.messages.isEmpty());

    EXPECT_EQ(panel.records["0006"], QByteArray("12") + ff(2) + ff(4) + ff(16) + ff(8));
    EXPECT_EQ(panel.records["0002"], QByteArray("HELLO") + QByteArray(27, ' '));
    EXPECT_EQ(panel.records["0003"], QByteArray("abc") + QByteArray(29, '\0'));
    EXPECT_EQ(panel.records["0004"], QByteArray(32, '\0'));
    EXPECT_EQ(panel.records["0005"], QByteArray(32, ' '));
    EXPECT_EQ(panel.records["0007"], QByteArray(":12;<3") + ff(10) + "36002" + ff(11));
    EXPECT_EQ(panel.records["0010"], QByteArray("36007") + ff(11) + "36008" + ff(11));
    EXPECT_EQ(panel.records["0001"], QByteArray("01030503231414000000140?0001000<"));
    EXPECT_EQ(c.text(E::Phs_rc), QByteArray("35"));
}

TEST_F(ParameterTransfers, WrittenValuesComeBackWhenReadAgain)
{
    c.setText(E::msg1, "Line two");
    c.setText(E::msg3, "x\xFE y");
    c.setText(E::spd6, "0044#1");
    c.setText(E::code_sd2, "4321");
    c.setText(E::Phs_ls, "7");
    c.setChecked(K::rly2line, true);
    c.setChecked(K::opt931, true);
    WriteAllClick(h.ctx, c);

    ParameterControls back(&h.directory);
    ReadAllClick(h.ctx, back);
    EXPECT_EQ(back.text(E::msg1), QByteArray("Line two        "));
    EXPECT_EQ(back.text(E::msg3), QByteArray("x\xFE y"));
    EXPECT_EQ(back.text(E::spd6), QByteArray("0044#1"));
    EXPECT_EQ(back.text(E::code_sd2), QByteArray("4321"));
    EXPECT_EQ(back.text(E::Phs_ls), QByteArray("7"));
    EXPECT_TRUE(back.isChecked(K::rly2line));
    EXPECT_TRUE(back.isChecked(K::opt931));
    EXPECT_TRUE(h.prompt.messages.isEmpty());
}

TEST_F(ParameterTransfers, EachSingleWriteEndsWithReadyThenTheApplyCommandTwoHundredTicksLater)
{
    using Handler = void (*)(TransferContext &, ParameterControls &);
    const QList<std::pair<Handler, QList<QByteArray>>> cases = {
        {WritePara1Click, {"0001"}},
        {WriteCodeClick, {"0006"}},
        {WriteSpdClick, {"0007", "0008", "0009", "0010"}},
        {SaveParamClick, {"0002", "0003", "0004", "0005"}},
    };
    for (const auto &[handler, records] : cases) {
        h.port.clearLog();
        h.status.commandTexts.clear();
        h.waiter.clearLog();
        handler(h.ctx, c);
        EXPECT_EQ(programmed(), records);
        const QStringList &shown = h.status.commandTexts;
        ASSERT_GE(shown.size(), 2);
        EXPECT_EQ(shown.mid(shown.size() - 2), (QStringList{"Ready", "u"}));
        const QList<qint32> &waits = h.waiter.waits();
        EXPECT_EQ(waits.mid(waits.size() - 2), (QList<qint32>{200, 1}));
        EXPECT_EQ(h.port.commands().last(), QByteArray("u"));
        const QList<qint64> times = h.port.commandTimesNs();
        EXPECT_GE(times.last() - times.at(times.size() - 2), 201 * Waiter::kTickNs);
    }
    EXPECT_TRUE(h.prompt.messages.isEmpty());
}

TEST_F(ParameterTransfers, ChangePinWritesThePinOutOfSightAndNeitherReadyNorApplyFollow)
{
    c.setText(E::NewPin, "4321");
    UpDatePINClick(h.ctx, c);
    EXPECT_EQ(panel.records["0000"], QByteArray("4321") + ff(28));
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("NEW PIN Programmed")});
    for (const QString &shown : h.status.commandTexts)
        EXPECT_FALSE(shown.contains(QStringLiteral("4321"))) << qPrintable(shown);
    EXPECT_FALSE(h.status.commandTexts.contains(QStringLiteral("Ready")));
    EXPECT_NE(h.port.commands().last(), QByteArray("u"));

    c.setText(E::NewPin, "");
    UpDatePINClick(h.ctx, c);
    EXPECT_EQ(panel.records["0000"], ff(32));

    h.prompt.messages.clear();
    h.port.close();
    UpDatePINClick(h.ctx, c);
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("ERROR in Programming PIN")});
}

TEST_F(ParameterTransfers, ARefusedRecordShowsItsMessageAndTheOthersAreStillWritten)
{
    panel.refused = {"0003"};
    c.setText(E::msg3, "second scroll");
    SaveParamClick(h.ctx, c);
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("There was an error\r\nin writing Scroll message 1")});
    EXPECT_EQ(programmed(), (QList<QByteArray>{"0002", "0003", "0003", "0003", "0003", "0004", "0005"}));
    EXPECT_EQ(panel.records["0004"], QByteArray("second scroll") + QByteArray(19, '\0'));
    EXPECT_EQ(h.port.commands().last(), QByteArray("u"));
}

// Record 0001 goes last, but a number that is not whole is found before
// the first record: nothing reaches the panel, and the question is not asked.
TEST_F(ParameterTransfers, WriteAllWithABadNumberSendsNothing)
{
    const QMap<QByteArray, QByteArray> before = panel.records;
    c.setText(E::Phs_sl, "abc");
    WriteAllClick(h.ctx, c);
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("'abc' is not a valid integer value")});
    EXPECT_TRUE(h.prompt.questions.isEmpty());
    EXPECT_TRUE(h.port.commands().isEmpty());
    EXPECT_FALSE(h.status.commandTexts.contains(QStringLiteral("Ready")));
    EXPECT_TRUE(h.feedback.events.isEmpty());

    c.setText(E::Phs_sl, "3");
    c.setText(E::Cont_time, "");
    h.prompt.messages.clear();
    WriteAllClick(h.ctx, c);
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("'' is not a valid integer value")});
    EXPECT_TRUE(h.port.commands().isEmpty());
    EXPECT_EQ(panel.records, before);
}

// A log-off (or a lost line) during Write All ends it after the record being
// written, with what went, instead of sending the rest into a closed line.
TEST_F(ParameterTransfers, WriteAllStopsAfterTheRecordDuringWhichTheConnectionEnded)
{
    ASSERT_TRUE(h.link.conn().LoggedOn);
    h.port.setResponder([this](const QByteArray &command) {
        if (command.startsWith("p0003"))
            h.link.conn().LoggedOn = false;
        return panel(command);
    });
    const ParameterWrites::WriteAllResult result = writeAll(h.ctx, c);
    EXPECT_EQ(result.outcome, ParameterWrites::WriteAllResult::Outcome::Unfinished);
    EXPECT_EQ(result.written, 3);
    EXPECT_EQ(programmed(), (QList<QByteArray>{"0006", "0002", "0003"}));
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("Write All did not finish,\r\n3 of 10 records written.")});
    EXPECT_FALSE(h.port.commands().contains(QByteArray("u")));
}

TEST_F(ParameterTransfers, UpDateWaitsThenSendsTheApplyCommand)
{
    UpLoadClick(h.ctx);
    EXPECT_EQ(h.port.commands(), QList<QByteArray>{"u"});
    EXPECT_EQ(h.waiter.waits(), (QList<qint32>{200, 1}));
}

TEST_F(ParameterTransfers, HandlersDoNothingWhileAnotherExchangeRuns)
{
    ExchangeGuard::Scope busy(h.guard);
    ReadAllClick(h.ctx, c);
    WriteAllClick(h.ctx, c);
    UpDatePINClick(h.ctx, c);
    UpLoadClick(h.ctx);
    EXPECT_TRUE(h.port.commands().isEmpty());
    EXPECT_TRUE(h.prompt.questions.isEmpty());
}

TEST_F(ParameterTransfers, MessagesWithALineBreakAreRefusedByNameAndNothingReachesThePanel)
{
    // Read from the panel, loaded from a file or pasted: a CR or LF inside
    // would end the "p" command early and start another from the rest.
    c.setText(E::msg0, "Hello\rp0000");
    c.setText(E::msg3, "two\nlines");
    const QString refusal = QStringLiteral("Nothing was written to the Corvalen.\r\n"
                                           "Fixed1 holds a line break or NUL: \"Hello<CR>p0000\"\r\n"
                                           "Scroll2 holds a line break or NUL: \"two<LF>lines\"");

    SaveParamClick(h.ctx, c);
    EXPECT_EQ(h.prompt.messages, QStringList{refusal});
    h.prompt.messages.clear();
    WriteAllClick(h.ctx, c); // checked before the first record and before asking
    EXPECT_EQ(h.prompt.messages, QStringList{refusal});
    EXPECT_TRUE(h.prompt.questions.isEmpty());
    EXPECT_TRUE(h.port.commands().isEmpty());
    EXPECT_FALSE(h.status.commandTexts.contains(QStringLiteral("Ready")));

    // The other groups take no message and still write.
    WriteCodeClick(h.ctx, c);
    EXPECT_EQ(programmed(), QList<QByteArray>{"0006"});
}

TEST_F(ParameterTransfers, ANewPinWithALineBreakIsRefusedAndThePanelKeepsItsPin)
{
    c.setText(E::NewPin, "12\r\n34");
    UpDatePINClick(h.ctx, c);
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("Nothing was written to the Corvalen.\r\n"
                                                            "New PIN holds a line break or NUL: \"12<CR><LF>34\"")});
    EXPECT_TRUE(h.port.written().isEmpty());
    EXPECT_EQ(panel.records["0000"], QByteArray("1234") + ff(28));
}
