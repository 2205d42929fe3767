#include "app/CommandLine.h"
#include "link/DeviceChoice.h"
#include "link/PortSettings.h"

#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(PortSettingsTest, RemembersEachPortsDeviceAcrossRunsAndPassesOverMalformedOnes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Corvalen-Pro/corvalen-pro.conf")); // folder made on write
    {
        PortSettings settings(path);
        EXPECT_TRUE(settings.device(1).isEmpty());
        QString error;
        ASSERT_TRUE(settings.setDevice(1, QStringLiteral("/dev/serial/by-id/usb-FTDI_A1-if00-port0"), &error));
        ASSERT_TRUE(settings.setDevice(3, QStringLiteral("rfc2217://[::1]:4001"), &error));
    }
    PortSettings again(path); // the next run
    EXPECT_EQ(again.device(1), QStringLiteral("/dev/serial/by-id/usb-FTDI_A1-if00-port0"));
    EXPECT_EQ(again.device(3), QStringLiteral("rfc2217://[::1]:4001"));
    EXPECT_TRUE(again.device(2).isEmpty());

    QSettings(path, QSettings::IniFormat).setValue(QStringLiteral("Ports/COM2"), QStringLiteral("tcp://gw"));
    QSettings(path, QSettings::IniFormat).setValue(QStringLiteral("Ports/COM4"), QStringLiteral("COM1"));
    EXPECT_TRUE(again.device(2).isEmpty());
    EXPECT_TRUE(again.device(4).isEmpty());
    DeviceMap map;
    again.applyTo(map);
    EXPECT_EQ(map.device(2), DeviceMap::defaultDevice(2));
    EXPECT_EQ(map.device(4), DeviceMap::defaultDevice(4));
    EXPECT_EQ(map.source(1), DeviceMap::Source::Remembered);
}

TEST(PortSettingsTest, OptionsAndVariablesWinOverTheRememberedDeviceForTheirRun)
{
    QTemporaryDir dir;
    PortSettings settings(dir.filePath(QStringLiteral("c.conf")));
    QString error;
    for (int n = 1; n <= 3; ++n)
        ASSERT_TRUE(settings.setDevice(n, QStringLiteral("/dev/ttyACM%1").arg(n), &error));

    DeviceMap environment;
    environment.setDevice(2, QStringLiteral("/dev/from-env"), DeviceMap::Source::Environment);
    CommandLine line = CommandLine::parse({QStringLiteral("--com3=tcp://gw:4001")}, environment);
    ASSERT_TRUE(line.error.isEmpty());
    settings.applyTo(line.devices);
    EXPECT_EQ(line.devices.device(1), QStringLiteral("/dev/ttyACM1"));
    EXPECT_EQ(line.devices.device(2), QStringLiteral("/dev/from-env"));
    EXPECT_EQ(line.devices.device(3), QStringLiteral("tcp://gw:4001"));
    EXPECT_EQ(line.devices.device(4), DeviceMap::defaultDevice(4));

    // Chosen in the window for a port an option fixed: remembered, not used now.
    DeviceChoice choice(line.devices, settings);
    QSignalSpy changed(&choice, &DeviceChoice::deviceChanged);
    QString message;
    EXPECT_EQ(choice.choose(3, QStringLiteral("/dev/ttyACM7"), &message), DeviceChoice::Result::RememberedOnly);
    EXPECT_EQ(line.devices.device(3), QStringLiteral("tcp://gw:4001"));
    EXPECT_TRUE(message.contains(QStringLiteral("--com3="))) << message.toStdString();
    EXPECT_EQ(settings.device(3), QStringLiteral("/dev/ttyACM7"));
    EXPECT_EQ(changed.count(), 0);

    EXPECT_EQ(choice.choose(1, QStringLiteral("  tcp://gw:4002 "), &message), DeviceChoice::Result::Taken);
    EXPECT_EQ(line.devices.device(1), QStringLiteral("tcp://gw:4002"));
    EXPECT_EQ(settings.device(1), QStringLiteral("tcp://gw:4002"));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toInt(), 1);
}

TEST(DeviceChoiceTest, RefusesWhatNamesNoDeviceAndChangesNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("c.conf"));
    DeviceMap map;
    DeviceChoice choice(map, PortSettings(path));
    const struct
    {
        const char *text;
        const char *says;
    } bad[] = {
        {"", "No device given"},
        {"   ", "No device given"},
        {"tcp://gw", "has no port"},
        {"rfc2217://gw:70000", "out of range"},
        {"tcp://[::1:4001", "closing bracket"},
        {"ftp://gw:21", "unknown kind"},
        {"COM3", "is a port, not a device"},
        {"ttyUSB0", "whole path"},
    };
    for (const auto &b : bad) {
        QString message;
        EXPECT_EQ(choice.choose(2, QLatin1String(b.text), &message), DeviceChoice::Result::Refused) << b.text;
        EXPECT_TRUE(message.contains(QLatin1String(b.says))) << b.text << ": " << message.toStdString();
    }
    EXPECT_EQ(map.device(2), DeviceMap::defaultDevice(2));
    EXPECT_FALSE(QFile::exists(path));
}

TEST(DeviceChoiceTest, ASettingsFileThatCannotBeWrittenStillChangesThisRun)
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    DeviceMap map;
    DeviceChoice choice(map, PortSettings(dir.filePath(QStringLiteral("file/sub/c.conf")))); // a file in the way
    QString message;
    EXPECT_EQ(choice.choose(4, QStringLiteral("/dev/ttyACM0"), &message), DeviceChoice::Result::NotRemembered);
    EXPECT_EQ(map.device(4), QStringLiteral("/dev/ttyACM0"));
    EXPECT_TRUE(message.contains(QStringLiteral("this run only"))) << message.toStdString();
}

// The window and corvalen-cli start from this one map: a port pointed at a
// serial server in the Device... dialog is that server for both programs.
TEST(PortSettingsTest, BothProgramsStartFromTheRememberedDevicesUnderTheVariables)
{
    QTemporaryDir dir;
    PortSettings settings(dir.filePath(QStringLiteral("c.conf")));
    QString error;
    ASSERT_TRUE(settings.setDevice(2, QStringLiteral("tcp://siteA:4001"), &error));
    ASSERT_TRUE(settings.setDevice(3, QStringLiteral("/dev/ttyACM3"), &error));
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("CORVALEN_COM3"), QStringLiteral("/dev/from-env"));
    environment.insert(QStringLiteral("CORVALEN_COM4"), QString()); // set but empty: no device

    const DeviceMap map = settings.startDevices(environment);
    EXPECT_EQ(map.deviceForPortName(QStringLiteral("COM2")), QStringLiteral("tcp://siteA:4001"));
    EXPECT_EQ(map.source(2), DeviceMap::Source::Remembered);
    EXPECT_EQ(map.device(3), QStringLiteral("/dev/from-env"));
    EXPECT_EQ(map.source(3), DeviceMap::Source::Environment);
    EXPECT_EQ(map.device(1), DeviceMap::defaultDevice(1));
    EXPECT_EQ(map.device(4), DeviceMap::defaultDevice(4));

    // An option goes over it for its run.
    const CommandLine line = CommandLine::parse({QStringLiteral("--com2=/dev/ttyUSB9")}, map);
    EXPECT_EQ(line.devices.device(2), QStringLiteral("/dev/ttyUSB9"));
    EXPECT_EQ(line.devices.device(3), QStringLiteral("/dev/from-env"));
}
