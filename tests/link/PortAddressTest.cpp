#include "link/PortAddress.h"

#include <gtest/gtest.h>

namespace {
QString errorOf(const QString &text)
{
    QString error;
    EXPECT_FALSE(PortAddress::parse(text, &error)) << text.toStdString();
    return error;
}
} // namespace

TEST(PortAddressTest, ReadsPortNamesDevicesAndServers)
{
    const auto com = PortAddress::parse(QStringLiteral("com3"));
    ASSERT_TRUE(com);
    EXPECT_EQ(com->kind(), PortAddress::Kind::PortName);
    EXPECT_EQ(com->portNumber(), 3);
    EXPECT_EQ(com->toString(), QStringLiteral("COM3"));

    const auto device = PortAddress::parse(QStringLiteral(" /dev/ttyUSB0 "));
    ASSERT_TRUE(device);
    EXPECT_EQ(device->kind(), PortAddress::Kind::Device);
    EXPECT_EQ(device->devicePath(), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_FALSE(device->isNetwork());
    // A colon in a device path is no address.
    EXPECT_EQ(PortAddress::parse(QStringLiteral("/dev/serial/by-path/pci-0:1.0"))->kind(), PortAddress::Kind::Device);

    const auto tcp = PortAddress::parse(QStringLiteral("TCP://panel-gw.example.org:4001"));
    ASSERT_TRUE(tcp);
    EXPECT_EQ(tcp->kind(), PortAddress::Kind::Tcp);
    EXPECT_EQ(tcp->host(), QStringLiteral("panel-gw.example.org"));
    EXPECT_EQ(tcp->tcpPort(), 4001);
    EXPECT_EQ(tcp->toString(), QStringLiteral("tcp://panel-gw.example.org:4001"));

    const auto telnet = PortAddress::parse(QStringLiteral("rfc2217://10.0.0.5:65535"));
    ASSERT_TRUE(telnet);
    EXPECT_EQ(telnet->kind(), PortAddress::Kind::Rfc2217);
    EXPECT_TRUE(telnet->isNetwork());
    EXPECT_EQ(telnet->hostAndPort(), QStringLiteral("10.0.0.5:65535"));

    const auto v6 = PortAddress::parse(QStringLiteral("rfc2217://[fe80::1%eth0]:2217"));
    ASSERT_TRUE(v6);
    EXPECT_EQ(v6->host(), QStringLiteral("fe80::1%eth0"));
    EXPECT_EQ(v6->toString(), QStringLiteral("rfc2217://[fe80::1%eth0]:2217"));
    // What toString() writes reads back as the same address.
    EXPECT_EQ(PortAddress::parse(v6->toString()), v6);
}

TEST(PortAddressTest, MalformedTextsSayWhatIsWrong)
{
    EXPECT_TRUE(errorOf(QString()).startsWith(QStringLiteral("No device given")));
    EXPECT_TRUE(errorOf(QStringLiteral("   ")).startsWith(QStringLiteral("No device given")));
    EXPECT_TRUE(errorOf(QStringLiteral("COM5")).contains(QStringLiteral("COM1 to COM4")));
    EXPECT_TRUE(errorOf(QStringLiteral("tcp://gw")).contains(QStringLiteral("has no port")));
    EXPECT_TRUE(errorOf(QStringLiteral("tcp://gw:")).contains(QStringLiteral("has no port")));
    EXPECT_TRUE(errorOf(QStringLiteral("tcp://[::1]")).contains(QStringLiteral("tcp://[::1]:4001")));
    EXPECT_TRUE(errorOf(QStringLiteral("tcp://:4001")).contains(QStringLiteral("has no host")));
    EXPECT_TRUE(errorOf(QStringLiteral("tcp://gw:0")).contains(QStringLiteral("out of range (1 to 65535)")));
    EXPECT_TRUE(errorOf(QStringLiteral("tcp://gw:65536")).contains(QStringLiteral("out of range")));
    EXPECT_TRUE(errorOf(QStringLiteral("tcp://gw:99999999999")).contains(QStringLiteral("out of range")));
    EXPECT_TRUE(errorOf(QStringLiteral("tcp://gw:40a1")).contains(QStringLiteral("not a number")));
    EXPECT_TRUE(errorOf(QStringLiteral("tcp://gw:4001/")).contains(QStringLiteral("not a number")));
    EXPECT_TRUE(errorOf(QStringLiteral("tcp://::1:4001")).contains(QStringLiteral("in brackets")));
    EXPECT_TRUE(errorOf(QStringLiteral("tcp://[::1:4001")).contains(QStringLiteral("bracket")));
    EXPECT_TRUE(errorOf(QStringLiteral("tcp://[gw]:4001")).contains(QStringLiteral("not an IPv6 address")));
    EXPECT_TRUE(errorOf(QStringLiteral("tcp://user@gw:4001")).contains(QStringLiteral("not a host name")));
    EXPECT_TRUE(errorOf(QStringLiteral("ssh://gw:22")).contains(QStringLiteral("unknown kind of address")));
    EXPECT_TRUE(errorOf(QStringLiteral("rfc2217:gw:4001")).contains(QStringLiteral("rfc2217://HOST:PORT")));
}
