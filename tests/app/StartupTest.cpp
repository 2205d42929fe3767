#include "app/CommandLine.h"
#include "app/UserFolder.h"
#include "app/widgets/MessageBoxPrompt.h"
#include "app/widgets/TAboutBox.h"
#include "support/AccessibleNames.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
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

TEST(CommandLineTest, VersionAndUserFolderOptions)
{
    const CommandLine version =
        CommandLine::parse({QStringLiteral("--com2=/dev/x"), QStringLiteral("--version")}, DeviceMap());
    EXPECT_TRUE(version.version);
    EXPECT_TRUE(version.error.isEmpty());

    const CommandLine folder =
        CommandLine::parse({QStringLiteral("--user-folder"), QStringLiteral("--com2=/dev/pts/3")}, DeviceMap());
    EXPECT_TRUE(folder.userFolder);
    EXPECT_FALSE(folder.version);
    EXPECT_TRUE(folder.error.isEmpty()) << qPrintable(folder.error);
    EXPECT_EQ(folder.devices.device(2), QStringLiteral("/dev/pts/3"));
    EXPECT_FALSE(CommandLine::parse({}, DeviceMap()).userFolder);
    EXPECT_TRUE(
        CommandLine::parse({QStringLiteral("--user-folder=/tmp")}, DeviceMap()).error.startsWith("Unknown option"));
    EXPECT_TRUE(CommandLine::usage().contains(QStringLiteral("--user-folder")));
    EXPECT_TRUE(CommandLine::usage().contains(QStringLiteral("--version")));
}

// Every test leaves the working folder where it found it.
class UserFolderTest : public ::testing::Test
{
protected:
    void TearDown() override { QDir::setCurrent(before_); }
    QString before_ = QDir::currentPath();
    QTemporaryDir documents_;
};

TEST_F(UserFolderTest, IsMadeInsideTheDocumentsFolderAndBecomesTheWorkingFolder)
{
    const QString folder = UserFolder::path(documents_.filePath(QStringLiteral("Documents")));
    EXPECT_EQ(folder, documents_.filePath(QStringLiteral("Documents/Corvalen-Pro")));
    QString error;
    ASSERT_TRUE(UserFolder::enter(folder, &error)) << qPrintable(error);
    EXPECT_EQ(QDir::currentPath(), folder);
    // A second start finds it there and keeps what it holds.
    QFile kept(QStringLiteral("CorvalenPhList.csv"));
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.close();
    QDir::setCurrent(before_);
    ASSERT_TRUE(UserFolder::enter(folder, &error)) << qPrintable(error);
    EXPECT_TRUE(QFile::exists(QStringLiteral("CorvalenPhList.csv")));
    EXPECT_TRUE(UserFolder::path().endsWith(QStringLiteral("/Corvalen-Pro")));
}

TEST_F(UserFolderTest, AFileInTheWayOrAnUnwritableParentLeavesTheWorkingFolderAlone)
{
    QFile inTheWay(documents_.filePath(QStringLiteral("Corvalen-Pro")));
    ASSERT_TRUE(inTheWay.open(QIODevice::WriteOnly));
    inTheWay.close();
    QString error;
    EXPECT_FALSE(UserFolder::enter(UserFolder::path(documents_.path()), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("in the way"))) << qPrintable(error);
    EXPECT_EQ(QDir::currentPath(), before_);

    error.clear();
    EXPECT_FALSE(UserFolder::enter(documents_.filePath(QStringLiteral("Corvalen-Pro/below-a-file")), &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot create folder"))) << qPrintable(error);
    EXPECT_EQ(QDir::currentPath(), before_);
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
    EXPECT_EQ(accessibleText(about.VersionNumber, QAccessible::Name), about.VersionNumber->text()); // read as shown
    EXPECT_TRUE(about.OKButton->isDefault());
    about.show();
    about.OKButton->click();
    EXPECT_EQ(about.result(), QDialog::Accepted);
}
