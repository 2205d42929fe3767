#include "app/CommandLine.h"
#include "app/widgets/MessageBoxPrompt.h"
#include "app/widgets/TAboutBox.h"
#include "support/AccessibleNames.h"

#include <QAccessible>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

TEST(CommandLineTest, PortsCanBePointedAtDevices)
{
    DeviceMap environment;
    environment.setDevice(2, QStringLiteral("/dev/from-environment"));
    const CommandLine line =
        CommandLine::parse({QStringLiteral("--com2=/dev/pts/4"), QStringLiteral("--com4=/dev/ttyACM0")}, environment);
    EXPECT_TRUE(line.error.isEmpty());
    EXPECT_FALSE(line.help);
    EXPECT_EQ(line.devices.device(2), QStringLiteral("/dev/pts/4"));
    EXPECT_EQ(line.devices.device(4), QStringLiteral("/dev/ttyACM0"));
    EXPECT_EQ(line.devices.device(1), DeviceMap::defaultDevice(1));
    EXPECT_EQ(CommandLine::parse({QStringLiteral("--com1=rfc2217://[::1]:4001")}, environment).devices.device(1),
              QStringLiteral("rfc2217://[::1]:4001"));
}

TEST(CommandLineTest, BadOptionsSayWhatToUse)
{
    EXPECT_TRUE(CommandLine::parse({QStringLiteral("--com5=/dev/x")}, DeviceMap()).error.contains("--com1=DEVICE"));
    EXPECT_TRUE(CommandLine::parse({QStringLiteral("--com2=")}, DeviceMap()).error.contains("No device given"));
    EXPECT_TRUE(CommandLine::parse({QStringLiteral("--com2=tcp://gw")}, DeviceMap()).error.contains("has no port"));
    const CommandLine unknown = CommandLine::parse({QStringLiteral("--port"), QStringLiteral("x")}, DeviceMap());
    EXPECT_TRUE(unknown.error.startsWith(QStringLiteral("Unknown option --port")));
    EXPECT_TRUE(CommandLine::parse({QStringLiteral("--help")}, DeviceMap()).help);
    const CommandLine qt = CommandLine::parse(
        {QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("-reverse")}, DeviceMap());
    EXPECT_TRUE(qt.error.isEmpty()) << qPrintable(qt.error);
    EXPECT_TRUE(CommandLine::usage().contains(QStringLiteral("--com4=DEVICE")));
    EXPECT_TRUE(CommandLine::usage().contains(QStringLiteral("rfc2217://HOST:PORT")));
}

TEST(MessageTextTest, LinesStayJoinedWithCrLfAndADoubledAmpersandShowsOnce)
{
    // The box shows CR LF as a line break; the text read out keeps it.
    EXPECT_EQ(MessageBoxPrompt::displayText(QStringLiteral("Failed to Connect\r\nCheck PIN")),
              QStringLiteral("Failed to Connect\r\nCheck PIN"));
    EXPECT_EQ(MessageBoxPrompt::displayText(QStringLiteral("Permission denied\nAsk for dialout\r\nThen retry")),
              QStringLiteral("Permission denied\r\nAsk for dialout\r\nThen retry"));
    EXPECT_EQ(MessageBoxPrompt::displayText(QStringLiteral("ReWrite all Messages && Operating Parameters?")),
              QStringLiteral("ReWrite all Messages & Operating Parameters?"));
}

TEST(MessageTextTest, AssistiveTechnologyReadsAMessageBoxWithItsCrLf)
{
    QWidget window;
    MessageBoxPrompt prompt(&window);
    QString read;
    QTimer::singleShot(0, [&] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible()) {
                read = QAccessible::queryAccessibleInterface(box)->text(QAccessible::Value);
                box->accept();
            }
    });
    prompt.message(QStringLiteral("Failed to Connect\r\nCheck PIN"));
    EXPECT_EQ(read, QStringLiteral("Failed to Connect\r\nCheck PIN"));
}

TEST(AboutBoxTest, ShowsTheVersion)
{
    TAboutBox about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About"));
    EXPECT_EQ(about.Version->text(), QStringLiteral("Version:"));
    EXPECT_EQ(about.VersionNumber->text(), QStringLiteral("7.1  May 2008"));
    EXPECT_EQ(accessibleText(about.VersionNumber, QAccessible::Name), QStringLiteral("7.1  May 2008"));
    EXPECT_TRUE(about.OKButton->isDefault());
    about.show();
    about.OKButton->click();
    EXPECT_EQ(about.result(), QDialog::Accepted);
}
