// The history file: versions in time order with their counts and who,
// sightings instead of copies for unchanged reads, contents kept exactly
// through deltas and whole copies, stable ids, damaged and foreign files.
#include "HistoryTestData.h"

#include "history/ContentBlobs.h"
#include "history/HistoryWho.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>

using namespace HistoryTestData;

namespace {

int rowCount(const HistoryStore &store, const char *table)
{
    QSqlQuery q(QSqlDatabase::database(store.connectionName()));
    q.exec(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(table)));
    return q.next() ? q.value(0).toInt() : -1;
}

} // namespace

TEST_F(Folder, VersionsAreListedNewestFirstWithCountsSinceTheVersionBeforeOfTheirKind)
{
    QList<PanelEntry> list = residents(5);
    const qint64 first = add(readDirectory(list, at(0)));
    add(read(BackupKind::Parameters, HistoryContent::ofParameters(parameters()), at(1)));

    list.removeAt(4);                      // removed
    list[0].PHnumber = "02119999";         // changed
    list.append(resident(7));              // added
    list.append(resident(8));              // added
    HistoryWriteResult result{5, 6, 1, false, {QStringLiteral("Resident 0008 (108)")}};
    const qint64 write = add(writeDirectory(list, result, at(2)));

    const QList<HistoryVersion> all = store.versions();
    ASSERT_EQ(all.size(), 3);
    EXPECT_EQ(all.at(0).id, write);
    EXPECT_EQ(all.at(2).id, first);
    EXPECT_GT(write, first);

    const HistoryVersion &w = all.at(0);
    EXPECT_EQ(w.kind, BackupKind::Directory);
    EXPECT_EQ(w.action, HistoryAction::Write);
    EXPECT_EQ(w.time, at(2));
    EXPECT_EQ(w.entries, 6);
    EXPECT_EQ(w.previous, first); // the parameters between do not count
    EXPECT_EQ(w.added, 2);
    EXPECT_EQ(w.removed, 1);
    EXPECT_EQ(w.changed, 1);
    EXPECT_EQ(w.changeText(), QStringLiteral("2 added, 1 removed, 1 changed"));
    EXPECT_EQ(w.who, HistoryWho::current());
    EXPECT_TRUE(w.who.contains(QLatin1Char('@')));
    EXPECT_EQ(w.via, QStringLiteral("window"));
    EXPECT_EQ(w.model, QStringLiteral("Xarn1000"));
    ASSERT_TRUE(w.result);
    EXPECT_EQ(w.result->text(), QStringLiteral("written 5 of 6, 1 refused"));
    EXPECT_EQ(w.result->refusedItems, QStringList{QStringLiteral("Resident 0008 (108)")});

    const HistoryVersion &f = all.at(2);
    EXPECT_TRUE(f.isFirst());
    EXPECT_EQ(f.added, 5);
    EXPECT_EQ(f.changeText(), QStringLiteral("first version"));
    EXPECT_FALSE(f.result);

    const QList<HistoryVersion> parameterOnly = store.versions({BackupKind::Parameters, std::nullopt});
    ASSERT_EQ(parameterOnly.size(), 1);
    EXPECT_EQ(parameterOnly.first().entries, 10);
    EXPECT_EQ(store.writes().size(), 1);
    EXPECT_EQ(store.latest(BackupKind::Directory)->id, write);
}

TEST_F(Folder, AnUnchangedReadKeepsNoCopyAndOnlyTheTimeItWasSeen)
{
    const QList<PanelEntry> list = residents(20);
    const qint64 first = add(readDirectory(list, at(0)));
    const int contents = rowCount(store, "content");

    HistoryStore::Added again = store.add(readDirectory(list, at(30)));
    EXPECT_EQ(again.outcome, HistoryStore::Added::Outcome::Sighting);
    EXPECT_EQ(again.id, first);
    HistoryRecord backup = readDirectory(list, at(45));
    backup.action = HistoryAction::Backup; // the backup before a write is a read too
    EXPECT_EQ(store.add(backup).outcome, HistoryStore::Added::Outcome::Sighting);

    const QList<HistoryVersion> all = store.versions();
    ASSERT_EQ(all.size(), 1);
    EXPECT_EQ(all.first().time, at(0));
    EXPECT_EQ(all.first().lastSeen, at(45));
    EXPECT_EQ(all.first().seen, 3);
    EXPECT_EQ(rowCount(store, "content"), contents);

    // A write of the same content is a version (it is in the audit), but
    // its content is the one already kept.
    const qint64 write = add(writeDirectory(list, {20, 20, 0, false, {}}, at(50)));
    EXPECT_NE(write, first);
    EXPECT_EQ(store.versions().size(), 2);
    EXPECT_EQ(rowCount(store, "content"), contents);
    EXPECT_EQ(store.version(write)->changeText(), QStringLiteral("no changes"));

    // A read that differs from the latest is a version again, even when it
    // equals an older one.
    QList<PanelEntry> changed = list;
    changed[3].Name = "Someone Else";
    add(readDirectory(changed, at(60)));
    EXPECT_EQ(store.add(readDirectory(list, at(70))).outcome, HistoryStore::Added::Outcome::Added);
    EXPECT_EQ(store.versions().size(), 4);
}

TEST_F(Folder, EveryVersionReadsBackByteForByteAcrossDeltasAndWholeCopies)
{
    QRandomGenerator random(20260314);
    QList<PanelEntry> list = residents(300);
    QList<QByteArray> kept;
    QList<qint64> ids;
    for (int v = 0; v < ContentBlobs::kMaxDepth + 12; ++v) {
        for (int edit = 0; edit < 3; ++edit) {
            const int i = random.bounded(int(list.size()));
            switch (random.bounded(3)) {
            case 0: list[i].PHnumber = QByteArray::number(random.bounded(100000000)); break;
            case 1: list.removeAt(i); break;
            default: list.insert(i, resident(1000 + v * 3 + edit)); break;
            }
        }
        // Bytes of every value but the separators themselves survive.
        list[0].Name = QByteArray(1, char(128 + v % 128)) + "\x01%\xff";
        kept.append(HistoryContent::ofDirectory(list));
        ids.append(add(readDirectory(list, at(v))));
    }
    HistoryStore reopened(store.folder());
    ASSERT_TRUE(reopened.open(nullptr));
    for (int v = 0; v < ids.size(); ++v) {
        QString why;
        const std::optional<QByteArray> bytes = reopened.content(ids.at(v), &why);
        ASSERT_TRUE(bytes) << why.toStdString();
        EXPECT_EQ(*bytes, kept.at(v)) << "version " << v;
    }
    const HistoryStore::Size size = store.size();
    EXPECT_EQ(size.contents, ids.size());
    EXPECT_GE(size.wholeCopies, 2);            // a whole copy again after the longest chain
    EXPECT_LT(size.wholeCopies, ids.size() / 4); // but mostly deltas
}

TEST_F(Folder, AVersionOlderThanTheLatestTakesItsPlaceAndTheNextOneIsCountedAgain)
{
    const QList<PanelEntry> a = residents(3);
    QList<PanelEntry> b = a;
    b.append(resident(3));
    const qint64 newer = add(readDirectory(b, at(100)));
    EXPECT_TRUE(store.version(newer)->isFirst());

    HistoryRecord older = readDirectory(a, at(10));
    older.action = HistoryAction::Backup;
    older.source = QStringLiteral("backup:test");
    const qint64 old = add(older);

    const QList<HistoryVersion> all = store.versions();
    ASSERT_EQ(all.size(), 2);
    EXPECT_EQ(all.at(0).id, newer);
    EXPECT_EQ(all.at(1).id, old);
    EXPECT_TRUE(all.at(1).isFirst());
    EXPECT_EQ(all.at(0).previous, old);
    EXPECT_EQ(all.at(0).changeText(), QStringLiteral("1 added"));
}

TEST_F(Folder, IdsStayAndAreNeverGivenAgain)
{
    const qint64 a = add(readDirectory(residents(2), at(0)));
    const qint64 b = add(readDirectory(residents(3), at(1)));
    // Even if the last version were taken out by hand, its id is not reused.
    QSqlQuery(QSqlDatabase::database(store.connectionName())).exec(QStringLiteral("DELETE FROM version WHERE id = %1").arg(b));
    HistoryStore reopened(store.folder());
    ASSERT_TRUE(reopened.open(nullptr));
    EXPECT_EQ(reopened.version(a)->entries, 2);
    const HistoryStore::Added c = reopened.add(readDirectory(residents(4), at(2)));
    ASSERT_TRUE(c.ok());
    EXPECT_GT(c.id, b);
}

TEST_F(Folder, ContentNotOfItsKindIsRefusedWithTheReasonAndNothingIsAdded)
{
    HistoryRecord wrong = read(BackupKind::Parameters, HistoryContent::ofTags(tags(3)));
    const HistoryStore::Added added = store.add(wrong);
    EXPECT_FALSE(added.ok());
    EXPECT_TRUE(added.error.contains(QLatin1String("not a parameter record file"))) << added.error.toStdString();
    EXPECT_FALSE(store.add(read(BackupKind::Directory, "garbage without a header\r\n")).ok());
    EXPECT_TRUE(store.versions().isEmpty());
}

TEST_F(Folder, ADamagedCopyIsReportedNeverPassedOn)
{
    const qint64 id = add(readDirectory(residents(10), at(0)));
    QSqlQuery q(QSqlDatabase::database(store.connectionName()));
    ASSERT_TRUE(q.exec(QStringLiteral("UPDATE content SET data = X'0000100078DA4B4C4A0600024D0127'")));
    HistoryStore other(store.folder()); // no cached copy
    ASSERT_TRUE(other.open(nullptr));
    QString why;
    EXPECT_FALSE(other.content(id, &why));
    EXPECT_TRUE(why.contains(QLatin1String("damaged"))) << why.toStdString();
    EXPECT_FALSE(other.content(id + 1000, &why));
    EXPECT_EQ(why, QStringLiteral("There is no version %1.").arg(id + 1000));
}

TEST(HistoryFile, IsMadeForItsOwnerOnlyAndAForeignOrNewerFileIsLeftAlone)
{
    QTemporaryDir dir;
    {
        HistoryStore store(dir.filePath(QStringLiteral("a/b")));
        ASSERT_TRUE(store.open(nullptr));
        const QFile::Permissions p = QFile::permissions(store.fileName());
        EXPECT_TRUE(p.testFlags(QFile::ReadOwner | QFile::WriteOwner));
        EXPECT_FALSE(p & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther));
    }

    const QString foreign = dir.filePath(QStringLiteral("x/") + HistoryStore::kFileName);
    QDir().mkpath(dir.filePath(QStringLiteral("x")));
    QFile file(foreign);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QByteArray text = QByteArray("Name,RoomNumber\r\n").repeated(200);
    file.write(text);
    file.close();
    HistoryStore store(dir.filePath(QStringLiteral("x")));
    QString why;
    EXPECT_FALSE(store.open(&why));
    EXPECT_TRUE(why.contains(QLatin1String("cannot be opened"))) << why.toStdString();
    EXPECT_FALSE(store.add(readDirectory(residents(1))).ok());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), text);
    file.close();

    {
        HistoryStore newer(dir.filePath(QStringLiteral("n")));
        ASSERT_TRUE(newer.open(nullptr));
        QSqlQuery(QSqlDatabase::database(newer.connectionName())).exec(QStringLiteral("PRAGMA user_version = 99"));
    }
    HistoryStore again(dir.filePath(QStringLiteral("n")));
    EXPECT_FALSE(again.open(&why));
    EXPECT_TRUE(why.contains(QLatin1String("newer version"))) << why.toStdString();
}

// What `corvalen-cli history --json` prints for each version.
TEST_F(Folder, AVersionAsJsonHasWhatScriptsRelyOn)
{
    add(readDirectory(residents(2), at(0)));
    const qint64 id = add(writeDirectory(residents(3), {2, 3, 1, false, {QStringLiteral("Resident 0002 (102)")}}, at(1)));
    const QJsonObject o = store.version(id)->toJson();
    EXPECT_EQ(o.value(QLatin1String("id")).toInteger(), id);
    EXPECT_EQ(o.value(QLatin1String("time")).toString(), QStringLiteral("2026-03-14T09:31:00.000Z"));
    EXPECT_EQ(o.value(QLatin1String("kind")).toString(), QStringLiteral("directory"));
    EXPECT_EQ(o.value(QLatin1String("action")).toString(), QStringLiteral("write"));
    EXPECT_EQ(o.value(QLatin1String("who")).toString(), HistoryWho::current());
    EXPECT_EQ(o.value(QLatin1String("via")).toString(), QStringLiteral("window"));
    EXPECT_EQ(o.value(QLatin1String("entries")).toInt(), 3);
    EXPECT_EQ(o.value(QLatin1String("added")).toInt(), 1);
    EXPECT_EQ(o.value(QLatin1String("removed")).toInt(), 0);
    EXPECT_EQ(o.value(QLatin1String("changed")).toInt(), 0);
    const QJsonObject result = o.value(QLatin1String("result")).toObject();
    EXPECT_EQ(result.value(QLatin1String("status")).toString(), QStringLiteral("refused"));
    EXPECT_EQ(result.value(QLatin1String("written")).toInt(), 2);
    EXPECT_EQ(result.value(QLatin1String("total")).toInt(), 3);
    EXPECT_EQ(result.value(QLatin1String("refusedItems")).toArray().at(0).toString(), QStringLiteral("Resident 0002 (102)"));

    const QJsonObject first = store.versions().last().toJson();
    EXPECT_TRUE(first.value(QLatin1String("previous")).isNull());
    EXPECT_FALSE(first.contains(QLatin1String("result")));
}
