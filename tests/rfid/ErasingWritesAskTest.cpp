// The three writes that erase ask whoever answers for the panel's keeping,
// through the permission alone: with the content they will write, stopping
// before the erase on No, and handing back what was kept when they fail.
#include "Directory.h"
#include "directory/DirectoryTransfer.h"
#include "link/ErasePermission.h"
#include "link/PanelContent.h"
#include "parameters/ParameterControls.h"
#include "parameters/ParameterWrites.h"
#include "rfid/RfidWriteAll.h"
#include "support/AppHarness.h"
#include "support/EnginePanel.h"

#include <gtest/gtest.h>

namespace {

// Answers as told and notes what it was asked; its kept handle is a token
// the writes must hand back unchanged.
class NotingPermission : public ErasePermission
{
public:
    struct Token : Kept
    {
    };

    Answer mayErase(TransferContext &ctx, const PanelContent &written, UserPrompt::Question question) override
    {
        QString why;
        const std::optional<PanelContent::Held> held = written.readHeld(ctx.link, &why);
        asked << Asked{written.kind(), written.what(), question.text, held ? held->changes : why,
                       held ? held->count : -1};
        return {proceed, token};
    }
    bool offerRestore(TransferContext &, const KeptHandle &kept, const QString &what, bool lineLost) override
    {
        offered << Offer{kept, what, lineLost};
        return false;
    }

    struct Asked
    {
        PanelContent::Kind kind;
        QString what;
        QString question;
        QString changes;
        int count;
    };
    struct Offer
    {
        KeptHandle kept;
        QString what;
        bool lineLost;
    };
    bool proceed = true;
    KeptHandle token = std::make_shared<Token>();
    QList<Asked> asked;
    QList<Offer> offered;
};

class ErasingWritesAsk : public ::testing::Test
{
protected:
    ErasingWritesAsk()
    {
        h.logOnWithPin();
        h.ctx.erase = &permission;
    }
    bool sent(const QByteArray &command) const { return h.port.commands().contains(command); }

    AppHarness h;
    EnginePanel panel{h.port};
    NotingPermission permission;
};

} // namespace

TEST_F(ErasingWritesAsk, NoStopsEachWriteBeforeItsEraseWithThePanelUntouched)
{
    permission.proceed = false;
    panel.memory().setRecord(128, "101,,,,0211,Adams");
    Directory::add(h.directory, "Baker", "102", "", "");
    h.port.clearLog();
    EXPECT_EQ(DirectoryTransfer(h.ctx).WriteDataClick(), DirectoryTransfer::Outcome::NotStarted);
    EXPECT_FALSE(sent("f5a"));
    EXPECT_EQ(panel.memory().record(128), QByteArray("101,,,,0211,Adams"));

    ParameterControls controls(&h.directory);
    controls.setText(ParamEdit::msg0, "Other text");
    EXPECT_EQ(ParameterWrites::writeAll(h.ctx, controls).outcome, ParameterWrites::WriteAllResult::Outcome::Declined);

    h.directory.PhoneTable.first();
    Directory::add(h.directory, "Tag", "9", Directory::code(9), "1000");
    EXPECT_EQ(RfidWriteAll(h.ctx).writeall_idClick(), RfidWriteAll::Outcome::Declined);
    EXPECT_FALSE(sent("c1418"));

    ASSERT_EQ(permission.asked.size(), 3);
    EXPECT_EQ(permission.asked[0].kind, PanelContent::Kind::Directory);
    EXPECT_EQ(permission.asked[0].what, QStringLiteral("phone list"));
    EXPECT_EQ(permission.asked[0].question,
              QStringLiteral("This will replace ALL numbers currently\r\nstored in the Corvalen, Continue?"));
    EXPECT_EQ(permission.asked[1].kind, PanelContent::Kind::Parameters);
    EXPECT_EQ(permission.asked[1].what, QStringLiteral("parameters"));
    EXPECT_TRUE(permission.asked[1].changes.contains(QStringLiteral("-> \"Other text\"")))
        << qPrintable(permission.asked[1].changes);
    EXPECT_EQ(permission.asked[2].kind, PanelContent::Kind::Tags);
    EXPECT_EQ(permission.asked[2].what, QStringLiteral("RFID codes"));
    EXPECT_TRUE(permission.offered.isEmpty());
    EXPECT_TRUE(h.prompt.questions.isEmpty()) << "the permission asks, not the write";
}

TEST_F(ErasingWritesAsk, TheContentComparesThePanelWithWhatWillBeWritten)
{
    panel.memory().setRecord(128, "101,,,,0211,Adams");
    Directory::add(h.directory, "Adams", "101", "", "");
    permission.proceed = false;
    DirectoryTransfer(h.ctx).WriteDataClick();
    ASSERT_EQ(permission.asked.size(), 1);
    EXPECT_EQ(permission.asked[0].count, 1);
    EXPECT_TRUE(permission.asked[0].changes.contains(QStringLiteral("* Adams (101): PHnumber 0211 -> 0123456")))
        << qPrintable(permission.asked[0].changes);
}

TEST_F(ErasingWritesAsk, AWriteThatFailsAfterTheEraseHandsBackWhatWasKept)
{
    panel.memory().setRecord(128, "101,,,,0211,Adams");
    Directory::add(h.directory, "Person", "1", "", "");
    panel.faults().errorW = 8; // the entry's block write and every retry
    EXPECT_EQ(DirectoryTransfer(h.ctx).WriteDataClick(), DirectoryTransfer::Outcome::SomeRefused);
    ASSERT_EQ(permission.offered.size(), 1);
    EXPECT_EQ(permission.offered[0].kept, permission.token);
    EXPECT_EQ(permission.offered[0].what, QStringLiteral("phone list"));
    EXPECT_FALSE(permission.offered[0].lineLost);
}

TEST_F(ErasingWritesAsk, WithoutAPermissionTheWriteAsksItsOwnQuestionOnly)
{
    h.ctx.erase = nullptr;
    Directory::add(h.directory, "Baker", "102", "", "");
    h.prompt.answers = {false};
    h.port.clearLog();
    EXPECT_EQ(DirectoryTransfer(h.ctx).WriteDataClick(), DirectoryTransfer::Outcome::NotStarted);
    EXPECT_EQ(h.prompt.questions,
              QStringList{QStringLiteral("This will replace ALL numbers currently\r\nstored in the Corvalen, Continue?")});
    EXPECT_TRUE(h.port.commands().isEmpty()) << "nothing is read for a backup";
}
