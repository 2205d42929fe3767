// panel-sim's command line: every option lands in its setting.
#include "PanelOptions.h"

#include <gtest/gtest.h>

namespace {
std::optional<PanelOptions> parse(QStringList args, QString *error = nullptr)
{
    QString ignored;
    args.prepend(QStringLiteral("panel-sim"));
    return PanelOptions::parse(args, error ? error : &ignored);
}
} // namespace

TEST(PanelOptions, DefaultsAreAPacedThousandWithPin1234AndNoFaults)
{
    const auto o = parse({});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->model, QStringLiteral("1000"));
    EXPECT_EQ(o->pin, QByteArray("1234"));
    EXPECT_TRUE(o->pacing);
    EXPECT_EQ(o->baud, 57600);
    EXPECT_FALSE(o->faults.silent || o->faults.chunks || o->faults.nul || o->faults.junk || o->faults.dropOk);
    EXPECT_EQ(o->faults.errorP + o->faults.errorG + o->faults.badReadback + o->faults.stallAfter + o->faults.latencyMs, 0);
}

TEST(PanelOptions, EveryFaultOptionSetsItsFault)
{
    const auto o = parse({"--model", "200", "--identity", "Corvalen_200_Xarn ", "--pin", "77", "--no-pacing",
                          "--latency", "30", "--chunks", "--nul", "--silent", "--error-p", "2", "--error-g", "3",
                          "--drop-ok", "--bad-readback", "4", "--stall-after", "500", "--pause-after", "58", "--pause-ms",
                          "700", "--max-events", "3000", "--junk", "--bare-ok", "--empty-replies", "--no-records",
                          "--silent-after-erase", "--tag",
                          "04a1b2c3d4", "--tag-delay", "1.5", "--seed", "9", "--quiet", "--demo", "--memory",
                          "/tmp/m", "--link", "/tmp/l"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->model, QStringLiteral("200"));
    EXPECT_EQ(o->identity, QByteArray("Corvalen_200_Xarn "));
    EXPECT_EQ(o->pin, QByteArray("77"));
    EXPECT_TRUE(o->pinGiven && o->modelGiven && o->demo && o->quiet);
    EXPECT_FALSE(o->pacing);
    EXPECT_EQ(o->faults.latencyMs, 30);
    EXPECT_TRUE(o->faults.chunks && o->faults.nul && o->faults.silent && o->faults.dropOk && o->faults.junk);
    EXPECT_TRUE(o->faults.bareOk && o->faults.emptyReplies && o->faults.noRecords && o->faults.silentAfterErase);
    EXPECT_EQ(o->faults.errorP, 2);
    EXPECT_EQ(o->faults.errorG, 3);
    EXPECT_EQ(o->faults.badReadback, 4);
    EXPECT_EQ(o->faults.stallAfter, 500);
    EXPECT_EQ(o->faults.pauseAfter, 58);
    EXPECT_EQ(o->faults.pauseMs, 700);
    EXPECT_EQ(o->maxEvents, 3000);
    EXPECT_EQ(o->tag, QByteArray("04A1B2C3D4"));
    EXPECT_EQ(o->tagDelayMs, 1500);
    EXPECT_EQ(o->seed, 9u);
    EXPECT_EQ(o->memoryFile, QStringLiteral("/tmp/m"));
    EXPECT_EQ(o->link, QStringLiteral("/tmp/l"));
}

TEST(PanelOptions, BadValuesAreRefusedWithTheOptionNamed)
{
    QString error;
    EXPECT_FALSE(parse({"--model", "300"}, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("--model")));
    EXPECT_FALSE(parse({"--error-p", "-1"}, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("--error-p")));
    EXPECT_FALSE(parse({"--latency", "soon"}, &error));
    EXPECT_FALSE(parse({"--max-events", "0"}, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("--max-events")));
    EXPECT_FALSE(parse({"--tag", "12345"}, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("--tag")));
    EXPECT_FALSE(parse({"--pin", "12345678901234567"}, &error));
    EXPECT_FALSE(parse({"--frobnicate"}, &error));
    EXPECT_FALSE(parse({"stray"}, &error));
}

TEST(PanelOptions, TcpTakesAPortOrAnAddressAndPortButNoLink)
{
    auto o = parse({"--tcp", "4001"});
    ASSERT_TRUE(o);
    EXPECT_TRUE(o->tcp);
    EXPECT_EQ(o->tcpHost, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(o->tcpPort, 4001);
    o = parse({"--tcp", "[::1]:0"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->tcpHost, QStringLiteral("::1"));
    EXPECT_EQ(o->tcpPort, 0);
    EXPECT_EQ(parse({"--tcp", "0.0.0.0:4001"})->tcpHost, QStringLiteral("0.0.0.0"));
    EXPECT_FALSE(parse({})->tcp);

    QString error;
    for (const char *bad : {"65536", "gw:4001", "four", ""}) {
        EXPECT_FALSE(parse({"--tcp", bad}, &error)) << bad;
        EXPECT_TRUE(error.contains(QStringLiteral("--tcp"))) << bad;
    }
    EXPECT_FALSE(parse({"--tcp", "4001", "--link", "/tmp/l"}, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("--link")));
}
