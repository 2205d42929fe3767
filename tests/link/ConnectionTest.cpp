#include "link/Connection.h"

#include "directory/DirectoryOnConnection.h"
#include "link/PanelModel.h"
#include "support/AppHarness.h"
#include "support/LogOnPanel.h"
#include "support/ScriptedPin.h"

#include <gtest/gtest.h>

namespace {
const QString kFailedPin = QStringLiteral("Failed to Connect\r\nCheck PIN");

struct ConnectionFixture : ::testing::Test
{
    AppHarness h;
    LogOnPanel panel;
    ScriptedPin pin;
    Connection connection{h.ctx};
    QList<bool> onlineSignals;

    ConnectionFixture()
    {
        panel.attach(h.port);
        connection.setPinRequest(&pin);
        followConnection(h.directory, connection);
        QObject::connect(&connection, &Connection::onlineControlsChanged,
                         [this](bool on) { onlineSignals << on; });
        connection.GoOffline(); // as the window's creation does
        onlineSignals.clear();
        h.directory.setWriteEachChangeEnabled(true);
    }

    void logOn(const QByteArray &typed = "1234")
    {
        pin.answers << typed;
        connection.OnLine1Click();
    }

    void expectOffline()
    {
        EXPECT_FALSE(h.link.conn().LoggedOn);
        EXPECT_FALSE(h.port.isOpen());
        EXPECT_EQ(connection.onLineCaption(), QStringLiteral("Log On"));
        EXPECT_EQ(connection.ledHint(), QStringLiteral("Log On"));
        EXPECT_EQ(connection.ledImage(), Connection::kLedOffline);
        EXPECT_FALSE(connection.ledMarked());
        EXPECT_FALSE(connection.animateRunning());
        EXPECT_EQ(connection.animateHint(), QStringLiteral("OFF Line"));
        EXPECT_TRUE(connection.portMenuEnabled());
        EXPECT_FALSE(connection.onlineControlsEnabled());
        EXPECT_FALSE(connection.keepAliveRunning());
        EXPECT_FALSE(h.directory.writeEachChangeEnabled());
    }
};
} // namespace

TEST_F(ConnectionFixture, LogOnWakesThePanelReadsTheModelAndConnects)
{
    logOn();

    EXPECT_EQ(h.port.commands(), (QList<QByteArray>{"x", "", "a1234"}));
    EXPECT_EQ(h.waiter.waits(), (QList<qint32>{1000, 100, 1, 1, 300, 200, 10, 10, 200}));
    EXPECT_TRUE(h.link.conn().LoggedOn);
    EXPECT_TRUE(h.port.isOpen());
    EXPECT_EQ(h.link.conn().LogOnPin, QByteArray("1234"));
    EXPECT_EQ(h.link.conn().DirectoryEnd, 0x9000);
    EXPECT_EQ(h.directory.Edit3(), QStringLiteral("36864"));
    EXPECT_EQ(connection.caption(), QStringLiteral("Ostrel Corvalen Xarn_1000  Programmer   =Corvalen-Pro=  V7"));
    EXPECT_EQ(h.status.statusTexts, (QStringList{"Loging on Please Wait", "Connected"}));
    EXPECT_EQ(connection.ledImage(), Connection::kLedOnline);
    EXPECT_EQ(connection.ledHint(), QStringLiteral("Log Off"));
    EXPECT_EQ(connection.onLineCaption(), QStringLiteral("Log Off"));
    EXPECT_FALSE(connection.ledMarked());
    EXPECT_TRUE(connection.animateRunning());
    EXPECT_EQ(connection.animateHint(), QStringLiteral("On Line"));
    EXPECT_FALSE(connection.portMenuEnabled());
    EXPECT_TRUE(connection.keepAliveRunning());
    EXPECT_EQ(onlineSignals, (QList<bool>{true}));
    EXPECT_FALSE(h.directory.writeEachChangeEnabled());
    EXPECT_FALSE(h.link.conn().DirectorySynced);
    EXPECT_TRUE(h.prompt.messages.isEmpty());
}

TEST_F(ConnectionFixture, ThePinIsNeverShown)
{
    logOn("1234");
    const QStringList shown = h.status.statusTexts + h.status.commandTexts + h.prompt.messages;
    for (const QString &text : shown)
        EXPECT_FALSE(text.contains(QStringLiteral("1234"))) << qPrintable(text);
    EXPECT_FALSE(h.link.RxMemo().text().contains("1234"));
}

TEST_F(ConnectionFixture, CancelInTheDialogWritesNothingAndStaysOffline)
{
    pin.answers << std::nullopt;
    pin.duringDialog = [this] { EXPECT_TRUE(connection.ledMarked()); };
    connection.OnLine1Click();

    EXPECT_EQ(pin.asked, 1);
    EXPECT_EQ(h.port.openCount(), 0);
    EXPECT_TRUE(h.port.written().isEmpty());
    EXPECT_TRUE(h.prompt.messages.isEmpty());
    EXPECT_TRUE(h.link.conn().LogOnCancelled);
    EXPECT_TRUE(h.status.statusTexts.isEmpty());
    expectOffline();
}

TEST_F(ConnectionFixture, APortThatCannotOpenSaysSerialCommunicationError)
{
    h.port.setOpenFails(true, QStringLiteral("COM2 (/dev/ttyUSB1): Device or resource busy"));
    logOn();
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("Serial Communication Error")});
    EXPECT_TRUE(h.port.written().isEmpty());
    expectOffline();
}

TEST_F(ConnectionFixture, AMissingDeviceOrPermissionIsExplainedUnderTheMessage)
{
    const QString why = QStringLiteral("COM2 (/dev/ttyUSB1): Permission denied\r\n"
                                       "Your user may not use serial ports.");
    h.port.setOpenFails(true, why);
    logOn();
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("Serial Communication Error\r\n") + why});
    expectOffline();
}

TEST_F(ConnectionFixture, ASilentPanelSaysNoReponseAfterSixWakeUps)
{
    panel.silent = true;
    logOn();

    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("No Reponse from Corvalen")});
    // "x", six wake-ups, and the "x" of going offline; never the PIN.
    EXPECT_EQ(h.port.commands(), (QList<QByteArray>{"x", "", "", "", "", "", "", "x"}));
    EXPECT_EQ(h.waiter.waits().count(300), 6);
    EXPECT_LT(h.elapsedTicks(), 3500);
    EXPECT_EQ(h.port.closeCount(), 1);
    expectOffline();
}

TEST_F(ConnectionFixture, AWrongPinSaysFailedToConnectAndKeepsTheModelShown)
{
    panel.identity = "Corvalen_500_Xarn";
    logOn("9999");

    EXPECT_EQ(h.prompt.messages, QStringList{kFailedPin});
    EXPECT_EQ(h.link.conn().DirectoryEnd, 20736);
    EXPECT_EQ(h.directory.Edit3(), QStringLiteral("20736"));
    EXPECT_EQ(connection.caption(), QStringLiteral("Ostrel Corvalen Xarn_500  Programmer   =Corvalen-Pro=  V7"));
    EXPECT_EQ(h.port.commands().last(), QByteArray("x"));
    // Twenty waits of 200 ticks for the PIN answer, and no more.
    EXPECT_EQ(h.waiter.waits().count(200), 1 + 20);
    EXPECT_TRUE(h.link.conn().LogOnCancelled);
    // Not "Loging on Please Wait" any longer.
    EXPECT_EQ(h.status.status(), QStringLiteral("OFF Line"));
    expectOffline();
}

TEST_F(ConnectionFixture, AnIdentityFollowedByOneBlankIsNotRecognisedButTheLogOnGoesOn)
{
    panel.identity = "Corvalen_500_Xarn ";
    logOn();

    EXPECT_TRUE(h.link.conn().LoggedOn);
    EXPECT_EQ(h.link.conn().DirectoryEnd, 0);
    EXPECT_EQ(h.directory.Edit3(), QStringLiteral("0"));
    EXPECT_EQ(connection.caption(), StartCaption());
    EXPECT_TRUE(h.prompt.messages.isEmpty());
}

TEST_F(ConnectionFixture, AnIdentityIsCutToTwentyCharacters)
{
    panel.identity = "Corvalen_1000_Xarn\t\tNEW";
    logOn();
    EXPECT_EQ(h.link.conn().DirectoryEnd, 0);

    panel.identity = "Corvalen_200_Xarn";
    connection.OnLine1Click(); // off
    logOn();
    EXPECT_EQ(h.link.conn().DirectoryEnd, 0x2A00);
}

TEST_F(ConnectionFixture, ASecondClickDuringThePinWaitEndsTheLogOnAtOnce)
{
    panel.pin = "nothing typed matches";
    qint64 clickAt = -1;
    h.port.setResponder([&](const QByteArray &command) {
        if (command.startsWith('a'))
            h.clock.scheduleInTicks(300, [&] {
                clickAt = h.clock.nowTicks();
                connection.OnLine1Click();
            });
        return command.startsWith('a') ? QByteArray() : panel.reply(command);
    });
    // A click while the message box is up does not start a second log-on.
    h.prompt.onMessage = [&](const QString &) { connection.OnLine1Click(); };
    logOn();

    ASSERT_GE(clickAt, 0);
    EXPECT_LE(h.elapsedTicks() - clickAt, 100 + 200 + 1);
    EXPECT_EQ(h.prompt.messages, QStringList{kFailedPin});
    EXPECT_EQ(pin.asked, 1);
    EXPECT_EQ(h.port.openCount(), 1);
    EXPECT_EQ(h.port.commands().count("x"), 2); // the log-on's own, and the click's log-off
    expectOffline();
}

TEST_F(ConnectionFixture, AClickWhileOnlineLogsOff)
{
    logOn();
    h.port.clearLog();
    h.feedback.events.clear();
    connection.OnLine1Click();

    EXPECT_EQ(h.port.commands(), QList<QByteArray>{"x"});
    EXPECT_TRUE(h.feedback.events.contains("hide"));
    EXPECT_EQ(onlineSignals, (QList<bool>{true, false}));
    EXPECT_TRUE(h.prompt.messages.isEmpty());
    EXPECT_EQ(h.status.status(), QStringLiteral("OFF Line"));
    expectOffline();
}

TEST_F(ConnectionFixture, KeepAliveProbesAfter55IdleSecondsAndAgain55Later)
{
    logOn();
    h.port.clearLog();
    for (int second = 1; second < 55; ++second)
        connection.Timer2Timer();
    EXPECT_TRUE(h.port.commands().isEmpty());
    connection.Timer2Timer();
    EXPECT_EQ(h.port.commands(), QList<QByteArray>{""});
    EXPECT_TRUE(h.link.conn().LoggedOn);
    EXPECT_EQ(h.link.conn().IdleTicks, 0);

    for (int second = 1; second < 55; ++second)
        connection.Timer2Timer();
    EXPECT_EQ(h.port.commands().size(), 1);
    connection.Timer2Timer();
    EXPECT_EQ(h.port.commands().size(), 2);
    EXPECT_TRUE(h.prompt.messages.isEmpty());
}

TEST_F(ConnectionFixture, TwoUnansweredProbesLogOffSilently)
{
    logOn();
    panel.answersProbe = false;
    h.port.clearLog();
    for (int second = 1; second <= 55; ++second)
        connection.Timer2Timer();

    EXPECT_EQ(h.port.commands(), (QList<QByteArray>{"", "", "x"}));
    EXPECT_TRUE(h.prompt.messages.isEmpty());
    expectOffline();
}

TEST_F(ConnectionFixture, KeepAliveWaitsWhileAnExchangeRunsAndWhileOffline)
{
    connection.Timer2Timer();
    for (int second = 0; second < 100; ++second)
        connection.Timer2Timer();
    EXPECT_TRUE(h.port.written().isEmpty());

    logOn();
    h.port.clearLog();
    {
        ExchangeGuard::Scope transfer(h.guard);
        for (int second = 0; second < 100; ++second)
            connection.Timer2Timer();
    }
    EXPECT_TRUE(h.port.commands().isEmpty());
}

TEST_F(ConnectionFixture, ALogOnIsIgnoredWhileAnotherExchangeWaits)
{
    ExchangeGuard::Scope other(h.guard);
    pin.answers << QByteArray("1234");
    connection.OnLine1Click();
    EXPECT_EQ(pin.asked, 0);
    EXPECT_FALSE(connection.ledMarked());
}

TEST_F(ConnectionFixture, TheLampBlinksBetweenOnlineAndOfflineImages)
{
    logOn();
    connection.Timer1Timer();
    EXPECT_EQ(connection.ledImage(), Connection::kLedOffline);
    connection.Timer1Timer();
    EXPECT_EQ(connection.ledImage(), Connection::kLedOnline);
    connection.setLedImage(Connection::kLedLoggingOff);
    connection.Timer1Timer();
    EXPECT_EQ(connection.ledImage(), Connection::kLedOffline);
}

TEST_F(ConnectionFixture, ATransferEndingAfterALogOffLeavesTheLampOffline)
{
    logOn();
    connection.startLampBlink();
    connection.OnLine1Click(); // the log-off click inside the transfer's waits
    EXPECT_FALSE(connection.lampBlinking());
    connection.stopLampBlink();
    connection.startKeepAlive();
    connection.setLedImage(Connection::kLedOnline);
    EXPECT_EQ(connection.ledImage(), Connection::kLedOffline);
}

TEST_F(ConnectionFixture, ALostConnectionGoesOfflineAndSaysSo)
{
    logOn();
    h.port.dropLine(QStringLiteral("COM2 (/dev/pts/7): Input/output error"));
    EXPECT_EQ(h.status.status(), QStringLiteral("Connection lost: COM2 (/dev/pts/7): Input/output error"));
    EXPECT_TRUE(h.prompt.messages.isEmpty());
    expectOffline();

    // The next log-on starts afresh.
    logOn();
    EXPECT_TRUE(h.link.conn().LoggedOn);
}

TEST_F(ConnectionFixture, ALostConnectionDuringTheWakeUpEndsTheLogOnWithoutNoReponse)
{
    panel.silent = true;
    h.clock.scheduleInTicks(1500, [&] { h.port.dropLine(); });
    logOn();
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("Connection lost: Input/output error")});
    EXPECT_EQ(connection.lastLogOn(), Connection::LogOnResult::LineLost);
    EXPECT_TRUE(h.status.status().startsWith(QStringLiteral("Connection lost: ")));
    EXPECT_LT(h.elapsedTicks(), 3500);
    expectOffline();
}

// The lost line cancels the wait for the PIN's answer: the log-on says the
// line was lost, at once, and does not blame the PIN.
TEST_F(ConnectionFixture, ALineLostDuringThePinWaitIsReportedAsLostNotAsAWrongPin)
{
    qint64 droppedAt = -1;
    h.port.setResponder([&](const QByteArray &command) {
        if (command.startsWith('a'))
            h.clock.scheduleInTicks(300, [&] {
                droppedAt = h.clock.nowTicks();
                h.port.dropLine(QStringLiteral("COM2 (/dev/ttyUSB0): Input/output error"));
            });
        return command.startsWith('a') ? QByteArray() : panel.reply(command);
    });
    logOn();

    ASSERT_GE(droppedAt, 0);
    EXPECT_LE(h.elapsedTicks() - droppedAt, 200 + 1);
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("Connection lost: COM2 (/dev/ttyUSB0): Input/output error")});
    EXPECT_EQ(connection.lastLogOn(), Connection::LogOnResult::LineLost);
    EXPECT_EQ(h.status.status(), QStringLiteral("Connection lost: COM2 (/dev/ttyUSB0): Input/output error"));
    EXPECT_EQ(h.link.conn().DirectoryEnd, 0x9000); // the model had named itself
    expectOffline();

    // The next log-on starts afresh, and a wrong PIN is a wrong PIN again.
    panel.attach(h.port);
    h.prompt.messages.clear();
    logOn("4321");
    EXPECT_EQ(h.prompt.messages, QStringList{kFailedPin});
    EXPECT_EQ(connection.lastLogOn(), Connection::LogOnResult::PinRefused);
    logOn();
    EXPECT_EQ(connection.lastLogOn(), Connection::LogOnResult::Connected);
}

// A serial server that answers the wake-up for the panel and then closes
// the connection: the line is lost before the PIN is even written.
TEST_F(ConnectionFixture, AServerThatAnswersTheWakeUpAndClosesSaysTheLineWasLost)
{
    h.port.setResponder([&](const QByteArray &command) {
        const QByteArray reply = panel.reply(command);
        if (command.isEmpty())
            h.clock.scheduleInTicks(50, [&] { h.port.dropLine(QStringLiteral("tcp://gate:4001: closed by the server")); });
        return reply;
    });
    logOn();

    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("Connection lost: tcp://gate:4001: closed by the server")});
    EXPECT_EQ(connection.lastLogOn(), Connection::LogOnResult::LineLost);
    EXPECT_FALSE(h.port.commands().contains("a1234"));
    EXPECT_LT(h.elapsedTicks(), 3000);
    expectOffline();
}
