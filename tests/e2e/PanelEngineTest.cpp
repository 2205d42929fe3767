// The virtual panel's answers, command by command, at the engine: the reply
// forms the program's reading rules rely on.
#include "PanelEngine.h"
#include "PanelLines.h"
#include "link/PanelModel.h"
#include "link/ReplyMemo.h"

#include <gtest/gtest.h>

namespace {
QList<QByteArray> lines(const QByteArray &reply)
{
    return ReplyMemo::splitLines(reply);
}

// Every byte 0-255 except CR, the command's end.
QByteArray everyByte()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        if (b != '\r')
            all.append(char(b));
    return all;
}

struct LoggedOnPanel : ::testing::Test
{
    PanelEngine panel;
    void SetUp() override { ASSERT_EQ(panel.feed("x\r\ra1234\r").right(4), QByteArray("OK\r\n")); }
    QByteArray ask(const QByteArray &command) { return panel.feed(command + '\r'); }
};
} // namespace

TEST(PanelLogOn, WakeUpShowsTheIdentityOnLineThreeForEveryModel)
{
    for (const QString &name : {QStringLiteral("100"), QStringLiteral("200"), QStringLiteral("500"), QStringLiteral("1000")}) {
        PanelEngine panel(name);
        const QList<QByteArray> banner = lines(panel.feed("\r"));
        ASSERT_GE(banner.size(), 4);
        const auto model = IdentifyPanel(banner.at(3));
        ASSERT_TRUE(model) << banner.at(3).constData();
        EXPECT_EQ(model->directoryEnd, panel.model().directoryEnd);
        EXPECT_EQ(panel.model().lastDirectoryRecord(), model->directoryEnd / 32);
    }
}

TEST(PanelLogOn, OnlyTheRightPinGetsOkAndNothingChangesBefore)
{
    PanelEngine panel;
    const quint64 before = panel.revision();
    const QByteArray record1 = panel.memory().record(1);
    for (const QByteArray &command : {QByteArray("p0001XXXX"), QByteArray("w0128100,,,,1,A"), QByteArray("g1408x"),
                                      QByteArray("f5a"), QByteArray("c1418"), QByteArray("t000000010126"),
                                      QByteArray("r0001"), QByteArray("e")})
        EXPECT_TRUE(panel.feed(command + '\r').isEmpty()) << command.constData();
    EXPECT_EQ(panel.revision(), before);
    EXPECT_EQ(panel.memory().record(1), record1);

    EXPECT_EQ(panel.feed("a4321\r"), QByteArray("\r\nAccess denied\r\n"));
    EXPECT_FALSE(panel.loggedOn());
    EXPECT_EQ(panel.feed("a1234\r"), QByteArray("\r\nOK\r\n"));
    EXPECT_TRUE(panel.loggedOn());
}

TEST_F(LoggedOnPanel, KeepAliveAnswersOkAsLineOneAndXEndsTheSession)
{
    EXPECT_EQ(lines(ask("")).value(1), QByteArray("OK"));
    EXPECT_TRUE(ask("x").isEmpty());
    EXPECT_FALSE(panel.loggedOn());
    EXPECT_TRUE(ask("r0001").isEmpty());
}

TEST_F(LoggedOnPanel, ReadGivesFiveCharactersThenTheRecordThenOk)
{
    EXPECT_EQ(ask("r0001"), QByteArray("r000101030503021414000000140?0001000<\r\nOK\r\n"));
    EXPECT_EQ(ask("r1408"), "r1408" + QByteArray(64, '?') + "\r\nOK\r\n");
    const QByteArray codes = ask("r0006");
    EXPECT_EQ(codes.mid(5, 32), QByteArray(32, char(0xFF)));
    EXPECT_EQ(ask("r0011"), QByteArray("Error\r\n"));
    EXPECT_EQ(ask("r12"), QByteArray("Error\r\n"));
}

TEST_F(LoggedOnPanel, DefaultSpeedDialsAreThePanelDigitsFilledWithFF)
{
    const QByteArray dials = ask("r0007").mid(5, 32);
    EXPECT_EQ(dials, "36001" + QByteArray(11, char(0xFF)) + "36002" + QByteArray(11, char(0xFF)));
}

TEST_F(LoggedOnPanel, EveryByteOfAParameterRecordReadsBackExactly)
{
    const QByteArray all = everyByte();
    for (int start = 0; start < all.size(); start += 32) {
        const QByteArray content = all.mid(start, 32);
        ASSERT_EQ(ask("p0003" + content), QByteArray("p0003\r\nOK\r\n"));
        EXPECT_EQ(ask("r0003"), "r0003" + content + "\r\nOK\r\n") << start;
    }
    ASSERT_EQ(ask("w0300" + all.left(200)), QByteArray("w0300\r\nOK\r\n"));
    EXPECT_EQ(panel.memory().record(300), all.left(200));
}

TEST_F(LoggedOnPanel, DirectoryWritesStoreTheTextAsItStands)
{
    EXPECT_EQ(ask("w0128101,1234,,,0211234567,Adams Helen"), QByteArray("w0128\r\nOK\r\n"));
    EXPECT_EQ(ask("b1152999999,1,2,33,:;<,Zed"), QByteArray("b1152\r\nOK\r\n"));
    EXPECT_EQ(ask("r0128"), QByteArray("r0128101,1234,,,0211234567,Adams Helen\r\nOK\r\n"));
    EXPECT_EQ(ask("w0128"), QByteArray("w0128\r\nOK\r\n"));
    EXPECT_EQ(ask("r0128"), QByteArray("r0128\r\nOK\r\n"));
    EXPECT_EQ(ask("w0001abc"), QByteArray("Error\r\n"));
    EXPECT_EQ(ask("w1153abc"), QByteArray("Error\r\n"));
}

TEST(PanelDirectory, SmallModelsHaveNoSlotsBeyondTheirLast)
{
    PanelEngine panel(QStringLiteral("100"));
    panel.feed("\ra1234\r");
    EXPECT_EQ(panel.feed("w0232x\r"), QByteArray("w0232\r\nOK\r\n"));
    EXPECT_EQ(panel.feed("w0233x\r"), QByteArray("Error\r\n"));
    const QList<QByteArray> reply = lines(panel.feed("d01281152\r"));
    EXPECT_EQ(reply.first(), QByteArray("d01281152"));
    EXPECT_EQ(reply.size(), 1 + 105 + 1);
    EXPECT_EQ(reply.at(105), QByteArray("1D00 x"));
    EXPECT_EQ(reply.last(), QByteArray("OK"));
}

TEST_F(LoggedOnPanel, DirectoryReadGivesOneLinePerSlotWithDigitsFilledToSixteen)
{
    ask("w0129101,1234,,,:0211<5;,Adams Helen");
    ask("w0130not an entry");
    const QList<QByteArray> reply = lines(ask("d01281152"));
    ASSERT_EQ(reply.size(), 1 + 1025 + 1);
    EXPECT_EQ(reply.at(1), QByteArray("1000 "));
    EXPECT_EQ(reply.at(2), QByteArray("1020 101,1234,,,:0211<5;????????,Adams Helen"));
    EXPECT_EQ(reply.at(3), QByteArray("1040 not an entry"));
    EXPECT_EQ(reply.at(1025), QByteArray("9000 "));
    EXPECT_EQ(reply.last(), QByteArray("OK"));
}

TEST_F(LoggedOnPanel, MessageAndSpeedDialReadsPutEachRecordAtCharacterSix)
{
    ask("p0002" + QByteArray("Fixed one       Fixed two       "));
    const QList<QByteArray> messages = lines(ask("d00020005"));
    ASSERT_EQ(messages.size(), 6);
    EXPECT_EQ(messages.at(1).mid(5, 32), QByteArray("Fixed one       Fixed two       "));
    EXPECT_EQ(messages.at(1).left(5), QByteArray("0040 "));
    const QList<QByteArray> dials = lines(ask("d00070010"));
    ASSERT_EQ(dials.size(), 6);
    EXPECT_EQ(dials.at(4).mid(5, 5), QByteArray("36007"));
}

TEST_F(LoggedOnPanel, EraseCommandsEmptyTheDirectoryAndTheStore)
{
    ask("w0128a,b");
    ask("g1408" + QByteArray(64, '1'));
    EXPECT_EQ(ask("f5a"), QByteArray("f5a\r\nOK\r\n"));
    EXPECT_EQ(panel.memory().usedDirectorySlots(), 0);
    EXPECT_EQ(ask("c1418"), QByteArray("c1418\r\nOK\r\n"));
    EXPECT_EQ(panel.memory().record(1408), QByteArray(64, '?'));
}

TEST_F(LoggedOnPanel, RfidStoreReadGivesEveryRecordAsNumberBlankAndSixtyFourCharacters)
{
    const QByteArray entry = "4711??0:1;2<3=4?";
    EXPECT_EQ(ask("g1409" + entry), QByteArray("g1409\r\nOK\r\n"));
    EXPECT_EQ(ask("r1409"), "r1409" + entry + "\r\nOK\r\n");
    const QList<QByteArray> reply = lines(ask("s14081535"));
    ASSERT_EQ(reply.size(), 1 + 128 + 1);
    EXPECT_EQ(reply.first(), QByteArray("s14081535"));
    EXPECT_EQ(reply.at(1), "1408 " + QByteArray(64, '?'));
    EXPECT_EQ(reply.at(2), "1409 " + entry + QByteArray(48, '?'));
    EXPECT_EQ(reply.last(), QByteArray("OK"));
    EXPECT_EQ(ask("g0128abc"), QByteArray("g0128\r\nError\r\n"));
    EXPECT_EQ(ask("p1535" + QByteArray(64, '5')), QByteArray("p1535\r\nOK\r\n"));
}

TEST_F(LoggedOnPanel, ClockReadsAsTwelveHexDigitsSetsFromDecimalAndRuns)
{
    EXPECT_EQ(ask("t585923311226"), QByteArray("t\r\nOK\r\n"));
    EXPECT_EQ(lines(ask("t")).value(1), QByteArray("3A3B171F0C1A")); // 23:59:58 31/12/26
    panel.advance(2500);
    EXPECT_EQ(lines(ask("t")).value(1), QByteArray("00000001011B")); // 00:00:00 01/01/27
    EXPECT_EQ(ask("t583023311126"), QByteArray("Error\r\n")); // 31 November
    EXPECT_EQ(ask("t5859"), QByteArray("Error\r\n"));
    EXPECT_EQ(lines(ask("t")).value(1), QByteArray("00000001011B"));
}

TEST_F(LoggedOnPanel, EventLinesPutEachFieldWhereTheProgramReadsIt)
{
    PanelEvent room;
    room.when = PanelClock::fields(2023, 11, 12, 14, 45, 5);
    room.room = "4711";
    room.relay = 2;
    room.source = PanelEvent::RfId;
    room.name = "Adams Helen";
    PanelEvent button;
    button.kind = PanelEvent::Kind::Button;
    button.digit = 3;
    button.when = room.when;
    panel.memory().addEvent(room);
    panel.memory().addEvent(button);

    const QList<PanelOutput> pieces = panel.receive("e\r");
    const QList<QByteArray> reply = lines(PanelOutput::join(pieces));
    ASSERT_EQ(reply.size(), 4);
    EXPECT_EQ(reply.at(0), QByteArray("e"));
    const QByteArray line = reply.at(1);
    EXPECT_EQ(line.mid(5, 12), QByteArray("04070101FFFF"));
    EXPECT_EQ(line.mid(17, 6), QByteArray("0C0B17"));
    EXPECT_EQ(line.mid(23, 6), QByteArray("0E2D05"));
    EXPECT_EQ(line.mid(30, 1), QByteArray("2"));
    EXPECT_EQ(line.mid(32, 1), QByteArray("2"));
    EXPECT_EQ(line.mid(37, 16), QByteArray("Adams Helen     "));
    EXPECT_EQ(reply.at(2).mid(5, 12), QByteArray("A003FFFFFFFF"));
    EXPECT_EQ(reply.at(3), QByteArray("OK"));
}

TEST_F(LoggedOnPanel, ApplyUnknownAndOverlongCommands)
{
    EXPECT_EQ(ask("u"), QByteArray("u\r\nOK\r\n"));
    EXPECT_EQ(ask("zz"), QByteArray("Error\r\n"));
    EXPECT_EQ(ask("w0128" + QByteArray(PanelEngine::kMaxCommand + 10, 'x')), QByteArray("Error\r\n"));
    EXPECT_EQ(panel.memory().record(128), QByteArray());
    EXPECT_EQ(panel.feed("\r\n\r"), QByteArray("\r\nOK\r\n\r\nOK\r\n")); // an LF after a CR is not a command
}

TEST_F(LoggedOnPanel, ANewPinTakesEffectAtTheNextLogOn)
{
    EXPECT_EQ(ask("p00009876" + QByteArray(28, char(0xFF))), QByteArray("p0000\r\nOK\r\n"));
    EXPECT_EQ(panel.pin(), QByteArray("9876"));
    ask("x");
    EXPECT_EQ(ask("a1234"), QByteArray("\r\nAccess denied\r\n"));
    EXPECT_EQ(ask("a9876"), QByteArray("\r\nOK\r\n"));
}

TEST(PanelTags, TheReaderLineCarriesTheExclusiveOrOfTheFiveBytes)
{
    EXPECT_EQ(PanelLines::tagLine("0102030405"), QByteArray("010203040501"));
    EXPECT_EQ(PanelLines::tagLine("FFFFFFFFFF"), QByteArray("FFFFFFFFFFFF"));
    EXPECT_NE(PanelLines::tagLine("0102030405", true).right(2), QByteArray("01"));
    EXPECT_FALSE(PanelLines::normaliseTag("01020304"));
    EXPECT_FALSE(PanelLines::normaliseTag("010203040G"));
    EXPECT_EQ(PanelLines::normaliseTag("abcdef0123"), QByteArray("ABCDEF0123"));
}

TEST(PanelTags, AKnownTagOpensTheGateForItsRoomAndIsLogged)
{
    PanelEngine panel;
    panel.memory().setRecord(128, "4711,,,,123,Adams Helen");
    panel.memory().setRecord(1408, "4711??0:0;0<0=0>" + QByteArray(48, '?'));
    EXPECT_TRUE(panel.presentTag("0a0b0c0d0e"));
    EXPECT_EQ(PanelOutput::join(panel.takeUnsolicited()), QByteArray("0A0B0C0D0E0E\r\n"));
    ASSERT_EQ(panel.memory().events().size(), 1);
    const PanelEvent event = panel.memory().events().first();
    EXPECT_EQ(event.room, QByteArray("4711"));
    EXPECT_EQ(event.source, int(PanelEvent::RfId));
    EXPECT_EQ(event.name, QByteArray("Adams Helen"));

    EXPECT_TRUE(panel.presentTag("1111111111"));
    EXPECT_EQ(panel.memory().events().size(), 1); // unknown: the line, no release
    EXPECT_FALSE(panel.presentTag("xyz"));
}

TEST(PanelLog, CommandsAreShownWithoutThePin)
{
    EXPECT_EQ(PanelEngine::describeCommand("a1234"), QStringLiteral("a****"));
    EXPECT_EQ(PanelEngine::describeCommand("p00001234\xff\xff"), QStringLiteral("p0000****"));
    EXPECT_EQ(PanelEngine::describeCommand("p0006\xff\x01"), QStringLiteral("p0006\\xff\\x01"));
}

TEST(PanelLog, TheEventLogKeepsAsManyEventsAsItIsMadeFor)
{
    PanelMemory memory(1152);
    memory.setMaxEvents(2500);
    for (int i = 0; i < 2600; ++i) {
        PanelEvent call;
        call.kind = PanelEvent::Kind::Call;
        call.digit = i % 16;
        memory.addEvent(call);
    }
    ASSERT_EQ(memory.events().size(), 2500);
    EXPECT_EQ(memory.events().first().digit, 100 % 16); // the oldest gave way
    memory.setMaxEvents(10);
    EXPECT_EQ(memory.events().size(), 10);
    EXPECT_EQ(memory.events().last().digit, 2599 % 16);
}
