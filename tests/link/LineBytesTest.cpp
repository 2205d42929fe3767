#include "link/PayloadCheck.h"
#include "support/LinkHarness.h"

#include <QMap>
#include <gtest/gtest.h>

TEST(PayloadCheckTest, FindsCrLfAndNulAndShowsControlBytesVisibly)
{
    EXPECT_FALSE(PayloadCheck::holdsLineControl(""));
    EXPECT_FALSE(PayloadCheck::holdsLineControl("Welcome \xFF\x7F\x01"));
    EXPECT_TRUE(PayloadCheck::holdsLineControl("Wel\rcome"));
    EXPECT_TRUE(PayloadCheck::holdsLineControl("Welcome\n"));
    EXPECT_TRUE(PayloadCheck::holdsLineControl(QByteArray("\0Welcome", 8)));

    EXPECT_EQ(PayloadCheck::visibleText(QByteArray("Hi\r\n\0\x1B\x7F\xE9!", 9)),
              QStringLiteral("Hi<CR><LF><NUL><0x1B><0x7F>\u00E9!"));
}

class CommandGuard : public ::testing::Test
{
protected:
    void SetUp() override
    {
        h.openPort();
        h.port.setResponder([this](const QByteArray &c) -> QByteArray {
            if (c.startsWith('p'))
                stored[c.mid(1, 4)] = c.mid(5);
            if (c.startsWith('r'))
                return c + stored.value(c.mid(1, 4)) + "\r\nOK\r\n";
            return c.left(5) + "\r\nOK\r\n";
        });
    }
    // Nothing reached the port, nothing was shown or waited for, and one
    // message said why.
    void expectRefused(const char *name)
    {
        EXPECT_TRUE(h.port.written().isEmpty()) << h.port.written().toStdString();
        EXPECT_TRUE(h.status.commandTexts.isEmpty());
        EXPECT_TRUE(h.waiter.waits().isEmpty());
        ASSERT_EQ(h.prompt.messages.size(), 1);
        EXPECT_EQ(h.prompt.messages.first(),
                  QStringLiteral("Command %1 was not sent to the Corvalen:\r\n"
                                 "it holds CR, LF or NUL before its end, which would cut it short.")
                      .arg(QLatin1String(name)));
        h.prompt.messages.clear();
    }
    LinkHarness h;
    QMap<QByteArray, QByteArray> stored;
};

TEST_F(CommandGuard, RecordWritesWithALineByteInsideWriteNothingAndFail)
{
    EXPECT_FALSE(h.link.ProgramRecord("0002", "Hello\rp0000ABCD"));
    expectRefused("p0002");
    EXPECT_FALSE(h.link.WriteRecord("1000", "101,,,,1\n2,Smith"));
    expectRefused("w0128");
    EXPECT_FALSE(h.link.WriteBlock("9000", QByteArray("101,\0,,,12,Smith", 16)));
    expectRefused("b1152");
    EXPECT_FALSE(h.link.ReadCompare("00\r1", "x"));
    expectRefused("r");
}

TEST_F(CommandGuard, ARefusedPinIsNeverNamedAndOtherSendersAreRefusedToo)
{
    h.link.conn().IdleTicks = 12;
    EXPECT_FALSE(h.link.ProgramRecord("0000", "12\r4" + QByteArray(28, char(0xFF))));
    expectRefused("p0000");
    h.link.WriteDirect("a12\r34\r");
    expectRefused("a");
    h.link.SendCommand("u\r\r");
    expectRefused("u");
    EXPECT_EQ(h.link.conn().IdleTicks, 12);
}

TEST_F(CommandGuard, ABareCrAndTheNulFillingOfARecordStillGo)
{
    h.link.SendCommand("\r");
    EXPECT_EQ(h.port.written(), QByteArray("\r"));
    const QByteArray scroll = "Welcome" + QByteArray(25, '\0');
    EXPECT_TRUE(h.link.ProgramRecord("0003", scroll));
    EXPECT_EQ(h.port.commands().at(1), "p0003" + scroll);
    EXPECT_TRUE(h.prompt.messages.isEmpty());
}
