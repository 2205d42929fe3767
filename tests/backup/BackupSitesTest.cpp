// Backups of many buildings: the site in the names, retention that counts
// each site on its own, saves that never replace one another (also from
// two processes in the same second), and the check of a backup against the
// panel it would go to.
#include "backup/BackupMatch.h"
#include "backup/BackupRetention.h"
#include "backup/BackupStore.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
const QDateTime kNoon(QDate(2026, 12, 8), QTime(14, 30, 12));

QByteArray readFile(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

BackupEntry entryAt(const QDateTime &when, const QString &site)
{
    BackupEntry e;
    e.name.when = when;
    e.name.site = site;
    e.name.model = QStringLiteral("Xarn1000");
    e.name.kind = BackupKind::Directory;
    e.name.suffix = QStringLiteral("csv");
    return e;
}

struct AskingPrompt : UserPrompt
{
    void message(const QString &text, Kind kind) override { errors << (kind == Kind::Error ? text : QString()); }
    bool ask(const QString &, Kind) override { return true; }
    bool askQuestion(const Question &question) override
    {
        asked << question;
        return answer;
    }
    QStringList errors;
    QList<Question> asked;
    bool answer = true;
};

QList<BackupStore::File> list(const QByteArray &csv)
{
    return {{QStringLiteral("csv"), csv}};
}
} // namespace

TEST(BackupSiteNames, CarryTheSiteInASafeFormAndReadBackWithOrWithoutIt)
{
    EXPECT_EQ(BackupName::siteToken(QStringLiteral("12 Harbour Street, gate 2")), QStringLiteral("12-Harbour-Street-gate-2"));
    EXPECT_EQ(BackupName::siteToken(QStringLiteral("../..//etc_passwd")), QStringLiteral("etc-passwd"));
    EXPECT_EQ(BackupName::siteToken(QStringLiteral("Straße 5")), QStringLiteral("Stra-e-5"));
    EXPECT_EQ(BackupName::siteToken(QStringLiteral("Ωμέγα")), QStringLiteral("site"));
    EXPECT_EQ(BackupName::siteToken(QStringLiteral("  ")), QString());
    EXPECT_EQ(BackupName::siteToken(QString(200, QLatin1Char('a'))).size(), BackupName::kMaxSiteToken);

    BackupName name;
    name.when = kNoon;
    name.site = BackupName::siteToken(QStringLiteral("Gate 1"));
    name.model = QStringLiteral("Xarn1000");
    name.kind = BackupKind::Parameters;
    name.serial = 3;
    name.suffix = QStringLiteral("sys");
    EXPECT_EQ(name.fileName(), QStringLiteral("2026-12-08_143012_Gate-1_Xarn1000_parameters-3.sys"));
    const std::optional<BackupName> back = BackupName::parse(name.fileName());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->site, QStringLiteral("Gate-1"));
    EXPECT_EQ(back->model, QStringLiteral("Xarn1000"));
    EXPECT_EQ(back->kind, BackupKind::Parameters);
    EXPECT_EQ(back->serial, 3);

    // A site named like a kind or a model is still the site.
    const std::optional<BackupName> odd = BackupName::parse(QStringLiteral("2026-12-08_143012_directory_Xarn100_tags.rfid"));
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->site, QStringLiteral("directory"));
    EXPECT_EQ(odd->model, QStringLiteral("Xarn100"));
    EXPECT_EQ(odd->kind, BackupKind::Tags);

    // The names of the program before sites still read, without a site.
    const std::optional<BackupName> old = BackupName::parse(QStringLiteral("2026-12-08_143012_Xarn1000_directory-2.csv"));
    ASSERT_TRUE(old);
    EXPECT_TRUE(old->site.isEmpty());
    EXPECT_EQ(old->model, QStringLiteral("Xarn1000"));
    EXPECT_EQ(old->serial, 2);
    for (const char *bad : {"2026-12-08_143012_-Gate_Xarn1000_directory.csv", "2026-12-08_143012_a_b_Xarn1000_directory.csv",
                            "2026-12-08_143012_Gate-_Xarn1000_directory.csv"})
        EXPECT_FALSE(BackupName::parse(QLatin1String(bad))) << bad;
}

// Two panels of one model read in the same second, at two sites and at
// none: every backup is its own file.
TEST(BackupSiteStore, SavesInTheSameSecondNeverReplaceOneAnother)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("backups"));
    BackupStore plain(folder, [] { return kNoon; });
    BackupStore harbour(folder, [] { return kNoon; });
    harbour.setSite(QStringLiteral("12 Harbour Street"));
    BackupStore mill(folder, [] { return kNoon; });
    mill.setSite(QStringLiteral("Mill Lane"));

    const BackupStore::Saved a = plain.save(BackupKind::Directory, QStringLiteral("Xarn1000"), list("a"), 1);
    const BackupStore::Saved b = plain.save(BackupKind::Directory, QStringLiteral("Xarn1000"), list("b"), 1);
    const BackupStore::Saved c = harbour.save(BackupKind::Directory, QStringLiteral("Xarn1000"), list("c"), 1);
    const BackupStore::Saved d = mill.save(BackupKind::Directory, QStringLiteral("Xarn1000"), list("d"), 1);
    const BackupStore::Saved e = mill.save(BackupKind::Directory, QStringLiteral("Xarn1000"), list("e"), 1);
    for (const BackupStore::Saved *s : {&a, &b, &c, &d, &e})
        ASSERT_TRUE(s->entry) << s->error.toStdString();
    EXPECT_EQ(QFileInfo(a.entry->path).fileName(), QStringLiteral("2026-12-08_143012_Xarn1000_directory.csv"));
    EXPECT_EQ(QFileInfo(b.entry->path).fileName(), QStringLiteral("2026-12-08_143012_Xarn1000_directory-2.csv"));
    EXPECT_EQ(QFileInfo(c.entry->path).fileName(), QStringLiteral("2026-12-08_143012_12-Harbour-Street_Xarn1000_directory.csv"));
    EXPECT_EQ(QFileInfo(e.entry->path).fileName(), QStringLiteral("2026-12-08_143012_Mill-Lane_Xarn1000_directory-2.csv"));
    EXPECT_EQ(readFile(a.entry->path), "a");
    EXPECT_EQ(readFile(b.entry->path), "b");
    EXPECT_EQ(readFile(d.entry->path), "d");
    EXPECT_EQ(readFile(e.entry->path), "e");
    EXPECT_EQ(plain.list().size(), 5);
    // No temporary file stays behind.
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 5);
}

// The race the names alone cannot win: processes that look for a free name
// at the same moment. Each saves many backups in one and the same second;
// every one of them must be there with its own bytes.
TEST(BackupSiteStore, TwoProcessesSavingInTheSameSecondKeepEveryBackup)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("backups"));
    ASSERT_TRUE(QDir().mkpath(folder));
    constexpr int kProcesses = 3;
    constexpr int kEach = 40;
    QList<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            BackupStore store(folder, [] { return kNoon; });
            int failed = 0;
            for (int i = 0; i < kEach; ++i) {
                const QByteArray bytes = "process " + QByteArray::number(p) + " backup " + QByteArray::number(i);
                failed += !store.save(BackupKind::Directory, QStringLiteral("Xarn1000"), list(bytes), 1).entry;
            }
            ::_exit(failed);
        }
        children << pid;
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save failed in a child";
    }
    QSet<QByteArray> contents;
    const QList<BackupEntry> entries = BackupStore(folder).list();
    for (const BackupEntry &entry : entries)
        contents.insert(readFile(entry.path));
    EXPECT_EQ(entries.size(), kProcesses * kEach);
    EXPECT_EQ(contents.size(), kProcesses * kEach);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), kProcesses * kEach);
}

TEST(BackupSiteRetention, EachSiteCountsOnItsOwn)
{
    const QDateTime now = kNoon;
    QList<BackupEntry> entries;
    // A busy site: 150 backups, all older than 30 days.
    for (int i = 0; i < 150; ++i)
        entries << entryAt(now.addDays(-40).addSecs(-i), QStringLiteral("Busy"));
    // A quiet site and the backups taken outside any site: one old backup each.
    entries << entryAt(now.addDays(-400), QStringLiteral("Quiet")) << entryAt(now.addDays(-400), QString());
    const QList<BackupEntry> gone = BackupRetention::expired(entries, now);
    EXPECT_EQ(gone.size(), 50);
    for (const BackupEntry &entry : gone)
        EXPECT_EQ(entry.name.site, QStringLiteral("Busy"));

    // In a folder: saving at the busy site never removes the quiet one's.
    QTemporaryDir dir;
    QDateTime clock = now.addDays(-400);
    BackupStore quiet(dir.path(), [&] { return clock; });
    quiet.setSite(QStringLiteral("Quiet"));
    ASSERT_TRUE(quiet.save(BackupKind::Directory, QStringLiteral("Xarn1000"), list("quiet"), 1).entry);
    BackupStore busy(dir.path(), [&] { return clock; });
    busy.setSite(QStringLiteral("Busy"));
    clock = now.addDays(-100);
    for (int i = 0; i < 120; ++i, clock = clock.addSecs(60))
        ASSERT_TRUE(busy.save(BackupKind::Directory, QStringLiteral("Xarn1000"), list("busy"), 1).entry);
    clock = now;
    ASSERT_TRUE(busy.save(BackupKind::Directory, QStringLiteral("Xarn1000"), list("busy"), 1).entry);
    int quietLeft = 0, busyLeft = 0;
    for (const BackupEntry &entry : busy.list())
        (entry.name.site == QStringLiteral("Quiet") ? quietLeft : busyLeft)++;
    EXPECT_EQ(quietLeft, 1);
    EXPECT_EQ(busyLeft, BackupRetention::kKeepNewest);
}

TEST(BackupSiteMatch, AnotherModelIsRefusedAndAnotherSiteAskedWithNoByDefault)
{
    BackupName backup;
    backup.when = kNoon;
    backup.model = QStringLiteral("Xarn1000");
    backup.site = BackupName::siteToken(QStringLiteral("12 Harbour Street"));

    const BackupMatch::Check model = BackupMatch::check(backup, {QStringLiteral("Xarn100"), QStringLiteral("12 Harbour Street")});
    EXPECT_EQ(model.verdict, BackupMatch::Verdict::OtherModel);
    EXPECT_TRUE(model.message.contains(QStringLiteral("Corvalen 1000"))) << model.message.toStdString();
    EXPECT_TRUE(model.message.contains(QStringLiteral("Corvalen 100 "))) << model.message.toStdString();

    const BackupMatch::Check site = BackupMatch::check(backup, {QStringLiteral("Xarn1000"), QStringLiteral("Mill Lane")});
    EXPECT_EQ(site.verdict, BackupMatch::Verdict::OtherSite);
    EXPECT_TRUE(site.message.contains(QStringLiteral("12-Harbour-Street"))) << site.message.toStdString();
    EXPECT_TRUE(site.message.contains(QStringLiteral("\"Mill Lane\""))) << site.message.toStdString();

    // Its own site, the same name written otherwise, or no site on either side.
    EXPECT_EQ(BackupMatch::check(backup, {QStringLiteral("Xarn1000"), QStringLiteral("12 harbour street")}).verdict,
              BackupMatch::Verdict::Fits);
    EXPECT_EQ(BackupMatch::check(backup, {QStringLiteral("Xarn1000"), QString()}).verdict, BackupMatch::Verdict::Fits);
    backup.site.clear();
    EXPECT_EQ(BackupMatch::check(backup, {QStringLiteral("Xarn1000"), QStringLiteral("Mill Lane")}).verdict,
              BackupMatch::Verdict::Fits);

    // Put to the user: the refusal as an error, the question with No first.
    backup.site = QStringLiteral("Gate-1");
    AskingPrompt prompt;
    EXPECT_FALSE(BackupMatch::confirm(backup, {QStringLiteral("Xarn500"), QStringLiteral("Gate 1")}, prompt));
    ASSERT_EQ(prompt.errors.size(), 1);
    EXPECT_TRUE(prompt.errors.first().contains(QStringLiteral("Corvalen 500")));
    EXPECT_TRUE(prompt.asked.isEmpty());
    EXPECT_TRUE(BackupMatch::confirm(backup, {QStringLiteral("Xarn1000"), QStringLiteral("Gate 2")}, prompt));
    ASSERT_EQ(prompt.asked.size(), 1);
    EXPECT_TRUE(prompt.asked.first().defaultNo);
    prompt.answer = false;
    EXPECT_FALSE(BackupMatch::confirm(backup, {QStringLiteral("Xarn1000"), QStringLiteral("Gate 2")}, prompt));
}
