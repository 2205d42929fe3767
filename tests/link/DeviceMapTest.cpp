#include "link/DeviceMap.h"
#include "link/EventLoopWaiter.h"
#include "link/PanelModel.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>
#include <gtest/gtest.h>

TEST(DeviceMapTest, PortNamesMapToDevicesAndCanBeRedirected)
{
    DeviceMap map;
    EXPECT_EQ(map.deviceForPortName(QStringLiteral("com1")), QStringLiteral("/dev/ttyUSB0"));
    QStringList args{QStringLiteral("prog"), QStringLiteral("--com2=/tmp/panel"), QStringLiteral("other")};
    QString error;
    ASSERT_TRUE(map.applyArguments(args, &error));
    EXPECT_EQ(args, (QStringList{QStringLiteral("prog"), QStringLiteral("other")}));
    EXPECT_EQ(map.deviceForPortName(QStringLiteral("COM2")), QStringLiteral("/tmp/panel"));
    QStringList bad{QStringLiteral("--com7=/x")};
    EXPECT_FALSE(map.applyArguments(bad, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("--com7")));
}

TEST(PanelModelTest, IdentityIsCutToTwentyCharactersAndComparedExactly)
{
    ASSERT_TRUE(IdentifyPanel("Corvalen_500_Xarn"));
    EXPECT_EQ(IdentifyPanel("Corvalen_500_Xarn")->directoryEnd, 20736);
    EXPECT_EQ(IdentifyPanel("Corvalen_1000_Xarn")->directoryEnd, 0x9000);
    EXPECT_FALSE(IdentifyPanel("Corvalen_500_Xarn "));
    EXPECT_FALSE(IdentifyPanel("corvalen_500_xarn"));
    EXPECT_FALSE(IdentifyPanel(""));
    EXPECT_TRUE(StartCaption().endsWith(QStringLiteral("Xarn_000  Programmer   =Corvalen-Pro=  V7.1")));
}

TEST(EventLoopWaiterTest, ProcessesEventsDuringTheWaitAndNeverEndsEarly)
{
    EventLoopWaiter waiter;
    bool fired = false;
    QTimer::singleShot(2, [&] { fired = true; });
    QElapsedTimer t;
    t.start();
    waiter.pump(20); // 17.28 ms
    EXPECT_TRUE(fired);
    EXPECT_GE(t.nsecsElapsed(), 20 * Waiter::kTickNs);

    bool posted = false;
    QTimer::singleShot(0, [&] { posted = true; });
    waiter.pump(0); // one pass of message processing at least
    EXPECT_TRUE(posted);
}
