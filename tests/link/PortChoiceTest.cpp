#include "link/LogOnDetails.h"
#include "link/PortChoice.h"
#include "support/LinkHarness.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QByteArray readAll(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}
} // namespace

TEST(PortChoiceTest, StartsOnCom2WithNothingChosen)
{
    LinkHarness h;
    QTemporaryDir dir;
    PortChoice choice(h.port, dir.filePath(LogOnDetails::kFileName));
    EXPECT_EQ(h.port.portName(), QStringLiteral("COM2"));
    EXPECT_EQ(choice.checkedItem(), 2);
    EXPECT_EQ(choice.PortNumber(), 0);
}

TEST(PortChoiceTest, ChoosingAPortWithoutADetailsFileSwitchesThePortAndCreatesNoFile)
{
    LinkHarness h;
    QTemporaryDir dir;
    const QString path = dir.filePath(LogOnDetails::kFileName);
    PortChoice choice(h.port, path);
    QList<int> checks;
    QObject::connect(&choice, &PortChoice::checkedChanged, [&](int item) { checks << item; });
    choice.comm31Click();
    EXPECT_EQ(h.port.portName(), QStringLiteral("COM3"));
    EXPECT_EQ(choice.checkedItem(), 3);
    EXPECT_EQ(checks, (QList<int>{0, 3}));
    EXPECT_FALSE(QFile::exists(path));
}

TEST(PortChoiceTest, ChoosingAPortRewritesOnlyTheLastFourBytesOfTheDetailsFile)
{
    LinkHarness h;
    QTemporaryDir dir;
    const QString path = dir.filePath(LogOnDetails::kFileName);
    QByteArray original(40, '\0');
    for (int i = 0; i < 40; ++i)
        original[i] = char(0xA0 + i);
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(original);
    }
    PortChoice choice(h.port, path);
    choice.Comm41Click();
    const QByteArray after = readAll(path);
    ASSERT_EQ(after.size(), 40);
    EXPECT_EQ(after.left(36), original.left(36));
    EXPECT_EQ(after.mid(36), QByteArray("\x04\x00\x00\x00", 4));
}

TEST(PortChoiceTest, AShortDetailsFileIsFilledUpToFortyBytes)
{
    LinkHarness h;
    QTemporaryDir dir;
    const QString path = dir.filePath(LogOnDetails::kFileName);
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write("\x02" "12");
    }
    PortChoice choice(h.port, path);
    choice.Comm11Click();
    const QByteArray after = readAll(path);
    ASSERT_EQ(after.size(), 40);
    EXPECT_EQ(after.left(3), QByteArray("\x02" "12"));
    EXPECT_EQ(LogOnDetails::fromBytes(after).portNumber, 1);
}

TEST(LogOnDetailsTest, RecordRoundTripsAndCutsTextsToSixteen)
{
    LogOnDetails d;
    d.pin = "12345678901234567890";
    d.phoneNumber = QByteArray("0\xFF" "9", 3);
    d.rememberDetails = true;
    d.remote = false;
    d.portNumber = 3;
    const QByteArray bytes = d.toBytes();
    ASSERT_EQ(bytes.size(), 40);
    EXPECT_EQ(quint8(bytes.at(0)), 16);
    EXPECT_EQ(bytes.mid(1, 16), QByteArray("1234567890123456"));
    EXPECT_EQ(quint8(bytes.at(17)), 3);
    EXPECT_EQ(bytes.mid(21, 13), QByteArray(13, '\0')); // unused bytes are zero
    const LogOnDetails back = LogOnDetails::fromBytes(bytes);
    EXPECT_EQ(back.pin, QByteArray("1234567890123456"));
    EXPECT_EQ(back.phoneNumber, d.phoneNumber);
    EXPECT_TRUE(back.rememberDetails);
    EXPECT_FALSE(back.remote);
    EXPECT_EQ(back.portNumber, 3);
}

TEST(LogOnDetailsTest, AFileWrittenHoldsThePinSoOnlyItsOwnerMayReadIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(LogOnDetails::kFileName);
    LogOnDetails d;
    d.pin = "1234";
    QString error;
    ASSERT_TRUE(d.write(path, &error)) << qPrintable(error);
    EXPECT_EQ(QFile::permissions(path) & (QFileDevice::ReadGroup | QFileDevice::ReadOther), 0);
    LogOnDetails back;
    ASSERT_TRUE(LogOnDetails::read(path, &back));
    EXPECT_EQ(back.pin, QByteArray("1234"));
}

TEST(LogOnDetailsTest, AnOverlongLengthByteIsTakenAsSixteen)
{
    QByteArray bytes(40, 'x');
    bytes[0] = char(200);
    EXPECT_EQ(LogOnDetails::fromBytes(bytes).pin.size(), 16);
    EXPECT_EQ(LogOnDetails::fromBytes(QByteArray()).portNumber, 0);
}
