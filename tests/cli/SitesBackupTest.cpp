// The nightly backup's words, its result for each site and its exit status;
// the job itself runs end to end in tests/e2e.
#include "cli/SitesBackup.h"
#include "cli/SitesBackupArgs.h"

#include <gtest/gtest.h>

namespace {

QStringList words(const char *line)
{
    return QString::fromLatin1(line).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

TEST(SitesBackupWords, TheChoiceOfSitesTheParallelRunsAndWhatIsWrong)
{
    SitesBackupArgs a = SitesBackupArgs::parse(words("sites backup --all --parallel 4 --json"));
    EXPECT_EQ(a.action, QStringLiteral("backup"));
    EXPECT_TRUE(a.all);
    EXPECT_TRUE(a.json);
    EXPECT_EQ(a.parallel, 4);
    EXPECT_TRUE(a.error.isEmpty()) << qPrintable(a.error);

    a = SitesBackupArgs::parse({QStringLiteral("sites"), QStringLiteral("backup"), QStringLiteral("Gate North"),
                                QStringLiteral("backup"), QStringLiteral("--parallel=2")});
    EXPECT_EQ(a.names, (QStringList{QStringLiteral("Gate North"), QStringLiteral("backup")}))
        << "a site may be called backup";
    EXPECT_EQ(a.parallel, 2);

    for (const char *wrong : {"sites backup", "sites backup --all Gate", "sites backup --all --parallel 0",
                              "sites backup --all --parallel 65", "sites backup --all --parallel many",
                              "sites backup --all --parallel", "sites backup --all --port COM1",
                              "sites backup-one", "sites backup-one A B"})
        EXPECT_FALSE(SitesBackupArgs::parse(words(wrong)).error.isEmpty()) << wrong;

    // The other sites commands are not the backup's, even about a site called so.
    EXPECT_TRUE(SitesBackupArgs::parse(words("sites pin backup --keep file")).action.isEmpty());
    EXPECT_TRUE(SitesBackupArgs::parse(words("sites list")).action.isEmpty());
    EXPECT_EQ(SitesBackupArgs::parse(words("sites backup-one Gate --book /tmp/b.txt")).book, QStringLiteral("/tmp/b.txt"));
}

SitesBackup::Result result(bool ok, bool reached)
{
    SitesBackup::Result r;
    r.ok = ok;
    r.reached = reached;
    return r;
}

TEST(SitesBackupExit, ZeroAllBackedUpOneAnyFailedThreeNoneReached)
{
    EXPECT_EQ(SitesBackup::exitFor({result(true, true), result(true, true)}), 0);
    EXPECT_EQ(SitesBackup::exitFor({result(true, true), result(false, false)}), 1);
    EXPECT_EQ(SitesBackup::exitFor({result(false, true), result(false, false)}), 1) << "a wrong PIN reached its panel";
    EXPECT_EQ(SitesBackup::exitFor({result(false, false), result(false, false)}), 3);
}

TEST(SitesBackupResult, ASiteProcessIsBelievedOnlyWhenItsLastLineSaysOk)
{
    SitesBackup::Result r = SitesBackup::parse(
        QStringLiteral("Gate"),
        "noise\n{\"site\":\"Gate\",\"result\":\"ok\",\"exit\":0,\"message\":\"changed: directory\","
        "\"changed\":[\"directory\"],\"new_events\":3,\"reached\":true,\"model\":\"Corvalen_100_Xarn\"}\n",
        {}, 0, false);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.changed, QStringList{QStringLiteral("directory")});
    EXPECT_EQ(r.newEvents, 3);
    r.durationS = 2.04;
    EXPECT_EQ(SitesBackup::line(r), QStringLiteral("Gate: ok, changed: directory (3 new events), 2.0 s"));

    // An ok that the exit status contradicts, a crash, nothing printed.
    EXPECT_FALSE(SitesBackup::parse(QStringLiteral("Gate"), "{\"result\":\"ok\",\"reached\":true}", {}, 1, false).ok);
    r = SitesBackup::parse(QStringLiteral("Gate"), "{\"result\":\"ok\"}", "Segmentation fault\n", 0, true);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.reached);
    EXPECT_TRUE(r.message.contains(QStringLiteral("Segmentation fault"))) << qPrintable(r.message);
    r = SitesBackup::parse(QStringLiteral("Gate"), "", "cannot open display\n", 2, false);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains(QStringLiteral("exit status 2"))) << qPrintable(r.message);
}

TEST(SitesBackupLines, TwoSitesShareALineOnlyOnTheSameAddress)
{
    EXPECT_EQ(SitesBackup::lineKey(QStringLiteral("tcp://10.0.0.7:4001")),
              SitesBackup::lineKey(QStringLiteral(" tcp://10.0.0.7:4001 ")));
    EXPECT_NE(SitesBackup::lineKey(QStringLiteral("tcp://10.0.0.7:4001")),
              SitesBackup::lineKey(QStringLiteral("tcp://10.0.0.7:4002")));
    EXPECT_EQ(SitesBackup::lineKey(QStringLiteral("/dev/ttyUSB0")), SitesBackup::lineKey(QStringLiteral("/dev/ttyUSB0")));
    EXPECT_NE(SitesBackup::lineKey(QStringLiteral("/dev/ttyUSB0")), SitesBackup::lineKey(QStringLiteral("/dev/ttyUSB1")));
}

} // namespace
