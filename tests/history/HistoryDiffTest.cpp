// Comparisons of two contents, of two versions of one or two histories, and
// of a version with what a page holds: counts, the text entry by entry, the
// JSON, and refusals.
#include "HistoryTestData.h"

#include "history/HistoryDiff.h"

#include <QFile>
#include <QJsonArray>
#include <QRandomGenerator>

using namespace HistoryTestData;

namespace {

HistoryDiff directoryDiff(const QList<PanelEntry> &a, const QList<PanelEntry> &b)
{
    QString why;
    const std::optional<HistoryDiff> d =
        HistoryDiff::compare(BackupKind::Directory, HistoryContent::ofDirectory(a), HistoryContent::ofDirectory(b), &why);
    EXPECT_TRUE(d) << why.toStdString();
    return d.value_or(HistoryDiff{});
}

} // namespace

TEST(HistoryDiffs, DirectoryResidentsAddedRemovedAndChangedWithNamesAndRooms)
{
    const QList<PanelEntry> before = residents(4);
    QList<PanelEntry> after = before;
    after[1].PHnumber = "0217*55#";          // Resident 0001 changed number
    after[2].Name = "Carter Ann";            // room 102 renamed
    after.removeAt(3);                       // Resident 0003 gone
    PanelEntry moved = after.takeAt(0);      // only moved slot: unchanged
    moved.SlotAddress = "1400";
    after.append(moved);
    PanelEntry added = resident(9);
    added.Name = "=HYPERLINK(x)";
    after.append(added);

    const HistoryDiff d = directoryDiff(before, after);
    EXPECT_EQ(d.added(), 1);
    EXPECT_EQ(d.removed(), 1);
    EXPECT_EQ(d.changed(), 2);
    EXPECT_FALSE(d.isEmpty());
    EXPECT_EQ(d.summary(), QStringLiteral("1 added, 1 removed, 2 changed"));
    const QString text = d.text();
    EXPECT_TRUE(text.startsWith(QLatin1String("1 added, 1 removed, 2 changed\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String("+ =HYPERLINK(x) (109)\n")));
    EXPECT_TRUE(text.contains(QLatin1String("- Resident 0003 (103)\n")));
    EXPECT_TRUE(text.contains(QLatin1String("* Resident 0001 (101): PHnumber 02110001 -> 0217*55#\n")));
    EXPECT_TRUE(text.contains(QLatin1String("* Resident 0002 (102): Name Resident 0002 -> Carter Ann\n")));
    EXPECT_FALSE(text.contains(QLatin1String("Resident 0000")));
    EXPECT_FALSE(text.contains(QLatin1Char('\r')));

    const QJsonObject json = d.toJson();
    EXPECT_EQ(json.value(QLatin1String("kind")).toString(), QStringLiteral("directory"));
    EXPECT_FALSE(json.value(QLatin1String("identical")).toBool());
    EXPECT_EQ(json.value(QLatin1String("added")).toInt(), 1);
    EXPECT_EQ(json.value(QLatin1String("unchanged")).toInt(), 1);
    const QJsonObject change = json.value(QLatin1String("residentsChanged")).toArray().at(0).toObject();
    EXPECT_EQ(change.value(QLatin1String("room")).toString(), QStringLiteral("101"));
    const QJsonObject field = change.value(QLatin1String("fields")).toArray().at(0).toObject();
    EXPECT_EQ(field.value(QLatin1String("field")).toString(), QStringLiteral("PHnumber"));
    EXPECT_EQ(field.value(QLatin1String("from")).toString(), QStringLiteral("02110001"));
    EXPECT_EQ(field.value(QLatin1String("to")).toString(), QStringLiteral("0217*55#"));
    EXPECT_EQ(json.value(QLatin1String("residentsRemoved")).toArray().at(0).toObject().value(QLatin1String("slot")).toString(),
              QStringLiteral("1060"));
}

TEST(HistoryDiffs, IdenticalContentsAreNoDifferenceAndEightBitNamesSurvive)
{
    QList<PanelEntry> list = residents(3);
    list[0].Name = "M\xfcller \xc5sa";
    const HistoryDiff same = directoryDiff(list, list);
    EXPECT_TRUE(same.isEmpty());
    EXPECT_EQ(same.text(), QStringLiteral("no differences\n"));
    EXPECT_TRUE(same.toJson().value(QLatin1String("identical")).toBool());

    QList<PanelEntry> renamed = list;
    renamed[0].Name = "M\xfcller \xc5se";
    const HistoryDiff d = directoryDiff(list, renamed);
    EXPECT_TRUE(d.text().contains(QString::fromUtf8("Müller Åsa -> Müller Åse")));
    EXPECT_EQ(d.toJson().value(QLatin1String("residentsChanged")).toArray().at(0).toObject().value(QLatin1String("name")).toString(),
              QString::fromUtf8("Müller Åsa"));
}

TEST(HistoryDiffs, ParameterFieldsFromWhatToWhatWithTheSystemRecordValueByValue)
{
    const ParameterRecordSet before = parameters();
    ParameterRecordSet after = before;
    QByteArray system = before.record(1);
    system.replace(4, 2, "07");   // relay on time 5 -> 7
    system.replace(24, 2, "01");  // Relay2 Override 0 -> 1
    system.replace(30, 2, "2<");  // option bits 12 -> 44: Use Global Gate Codes on
    after.setRecord(1, system);
    after.setRecord(6, QByteArray("4321") + QByteArray(28, char(0xFF)));

    QString why;
    const std::optional<HistoryDiff> d = HistoryDiff::compare(BackupKind::Parameters, HistoryContent::ofParameters(before),
                                                              HistoryContent::ofParameters(after), &why);
    ASSERT_TRUE(d) << why.toStdString();
    EXPECT_EQ(d->added(), 0);
    EXPECT_EQ(d->removed(), 0);
    EXPECT_EQ(d->changed(), 4);
    const QString text = d->text();
    EXPECT_TRUE(text.contains(QLatin1String("Relay on time (s): \"5\" -> \"7\"\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String("Relay2 Override: \"Normal\" -> \"On a key press\"\n")));
    EXPECT_TRUE(text.contains(QLatin1String("Use Global Gate Codes: \"off\" -> \"on\"\n")));
    EXPECT_TRUE(text.contains(QLatin1String("Gate code 1: \"1234\" -> \"4321\"\n")));
    EXPECT_FALSE(text.contains(QLatin1String("System parameters")));
    const QJsonArray fields = d->toJson().value(QLatin1String("fields")).toArray();
    ASSERT_EQ(fields.size(), 4);
    EXPECT_EQ(fields.at(3).toObject().value(QLatin1String("from")).toString(), QStringLiteral("1234"));
}

TEST(HistoryDiffs, TagsAddedAndRemovedAsRoomAndCode)
{
    StoreImage after = tags(5);
    after.setRecord(1409, StoreCodec::padRecord(StoreCodec::packEntry("777", "0B00000001")));
    QString why;
    const std::optional<HistoryDiff> d =
        HistoryDiff::compare(BackupKind::Tags, HistoryContent::ofTags(tags(5)), HistoryContent::ofTags(after), &why);
    ASSERT_TRUE(d) << why.toStdString();
    EXPECT_EQ(d->added(), 1);
    EXPECT_EQ(d->removed(), 1);
    EXPECT_EQ(d->changed(), 0);
    EXPECT_TRUE(d->text().contains(QLatin1String("+ 0B00000001 (room 777)\n"))) << d->text().toStdString();
    EXPECT_TRUE(d->text().contains(QLatin1String("- 0A00000005 (room 105)\n")));
    EXPECT_EQ(d->toJson().value(QLatin1String("tagsRemoved")).toArray().at(0).toObject().value(QLatin1String("room")).toString(),
              QStringLiteral("105"));
}

TEST_F(Folder, VersionsOfOneOrTwoHistoriesAndAPageCompareTheSameWay)
{
    const qint64 a = add(readDirectory(residents(3), at(0)));
    const qint64 b = add(readDirectory(residents(5), at(1)));
    const qint64 p = add(read(BackupKind::Parameters, HistoryContent::ofParameters(parameters()), at(2)));

    QString why;
    std::optional<HistoryDiff> d = HistoryDiff::between(store, a, store, b, &why);
    ASSERT_TRUE(d) << why.toStdString();
    EXPECT_EQ(d->added(), 2);

    HistoryStore gate2(dir.filePath(QStringLiteral("gate2")));
    ASSERT_TRUE(gate2.open(nullptr));
    QList<PanelEntry> other = residents(3);
    other[2].Code1 = "9999";
    const qint64 g = gate2.add(readDirectory(other, at(5))).id;
    d = HistoryDiff::between(store, a, gate2, g, &why);
    ASSERT_TRUE(d) << why.toStdString();
    EXPECT_EQ(d->changed(), 1);
    EXPECT_TRUE(d->text().contains(QLatin1String("Code1 1002 -> 9999")));

    d = HistoryDiff::withContent(store, b, HistoryContent::ofDirectory(residents(5)), &why);
    ASSERT_TRUE(d);
    EXPECT_TRUE(d->isEmpty());

    EXPECT_FALSE(HistoryDiff::between(store, a, store, p, &why));
    EXPECT_TRUE(why.contains(QLatin1String("cannot be compared"))) << why.toStdString();
    EXPECT_FALSE(HistoryDiff::between(store, a, store, 4711, &why));
    EXPECT_EQ(why, QStringLiteral("There is no version 4711."));
    EXPECT_FALSE(HistoryDiff::withContent(store, a, HistoryContent::ofTags(tags(1)), &why));
    EXPECT_FALSE(why.isEmpty());
}

TEST(HistoryContents, FilesAreRecognisedByTheirFirstLine)
{
    EXPECT_EQ(HistoryContent::kindOf(HistoryContent::ofDirectory(residents(1))), BackupKind::Directory);
    EXPECT_EQ(HistoryContent::kindOf("name,ROOMNUMBER,Addr\r\n"), BackupKind::Directory);
    EXPECT_EQ(HistoryContent::kindOf(HistoryContent::ofParameters(parameters())), BackupKind::Parameters);
    EXPECT_EQ(HistoryContent::kindOf(HistoryContent::ofTags(tags(2))), BackupKind::Tags);
    EXPECT_FALSE(HistoryContent::kindOf("Name,Phone\r\n"));
    EXPECT_FALSE(HistoryContent::kindOf(QByteArray()));

    QTemporaryDir dir;
    QString why;
    EXPECT_FALSE(HistoryContent::fromFile(dir.filePath(QStringLiteral("missing.csv")), &why));
    EXPECT_TRUE(why.startsWith(QLatin1String("Cannot open file"))) << why.toStdString();
}

TEST(HistoryContents, AnEntryAsSentIsWhatTheNextReadFinds)
{
    const PanelEntry e = HistoryContent::entryAsSent("1020", "101,1234,,,:12;<3,A name longer than sixteen");
    EXPECT_EQ(e.SlotAddress, QByteArray("1020"));
    EXPECT_EQ(e.RoomNumber, QByteArray("101"));
    EXPECT_EQ(e.PHnumber, QByteArray("*12#p3"));
    EXPECT_EQ(e.Name, QByteArray("A name longer th"));
}

namespace {

QByteArray describe(const QList<PanelEntry> &entries)
{
    QByteArray out;
    for (const PanelEntry &e : entries)
        out += e.SlotAddress + '|' + e.Name + '|' + e.RoomNumber + '|' + e.PHnumber + '|' + e.Code1 + '|' + e.Code2 + '|'
               + e.Spare + '\n';
    return out;
}

} // namespace

// The history pairs identical residents through a hash before the
// backups' comparison sees the rest; the outcome must be the comparison's
// own, resident for resident and in the same order, duplicates and
// entries the panel would store differently included.
TEST(HistoryDiffs, DirectoryOutcomeIsTheBackupComparisonsOwn)
{
    QRandomGenerator random(42);
    for (int round = 0; round < 200; ++round) {
        const auto pick = [&random] {
            PanelEntry e = resident(random.bounded(6));
            if (random.bounded(4) == 0)
                e.PHnumber = "0211-" + QByteArray::number(random.bounded(3)); // stored without the "-..."
            if (random.bounded(5) == 0)
                e.Name = "Same Name";
            if (random.bounded(5) == 0)
                e.RoomNumber = "777";
            e.SlotAddress = QByteArray::number(0x1000 + 0x20 * random.bounded(50), 16).toUpper();
            return e;
        };
        QList<PanelEntry> a, b;
        for (int i = random.bounded(12); i > 0; --i)
            a.append(pick());
        for (int i = random.bounded(12); i > 0; --i)
            b.append(pick());
        const DirectoryComparison expected = DirectoryComparison::compare(a, b);
        const DirectoryComparison got = directoryDiff(a, b).directory;
        ASSERT_EQ(describe(got.added), describe(expected.added)) << round;
        ASSERT_EQ(describe(got.removed), describe(expected.removed)) << round;
        ASSERT_EQ(got.unchanged, expected.unchanged) << round;
        ASSERT_EQ(got.changed.size(), expected.changed.size()) << round;
        for (qsizetype i = 0; i < got.changed.size(); ++i) {
            ASSERT_EQ(describe({got.changed.at(i).before}), describe({expected.changed.at(i).before})) << round;
            ASSERT_EQ(describe({got.changed.at(i).after}), describe({expected.changed.at(i).after})) << round;
        }
    }
}

TEST_F(Folder, TheSidesOfADiffAreVersionsOrFiles)
{
    const qint64 a = add(readDirectory(residents(3), at(0)));
    const QString file = dir.filePath(QStringLiteral("list.csv"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(HistoryContent::ofDirectory(residents(4)));
    f.close();
    const QString tagFile = dir.filePath(QStringLiteral("store.rfid"));
    QFile t(tagFile);
    ASSERT_TRUE(t.open(QIODevice::WriteOnly));
    t.write(HistoryContent::ofTags(tags(2)));
    t.close();

    QString why;
    const std::optional<HistoryContent::Parsed> version = HistoryDiff::side(store, QString::number(a), &why);
    const std::optional<HistoryContent::Parsed> list = HistoryDiff::side(store, file, &why);
    ASSERT_TRUE(version && list) << why.toStdString();
    const std::optional<HistoryDiff> d = HistoryDiff::compareSides(*version, *list, &why);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->summary(), QStringLiteral("1 added"));

    const std::optional<HistoryContent::Parsed> store2 = HistoryDiff::side(store, tagFile, &why);
    ASSERT_TRUE(store2) << why.toStdString();
    EXPECT_FALSE(HistoryDiff::compareSides(*version, *store2, &why));
    EXPECT_EQ(why, QStringLiteral("One holds the phone list and the other the RFID tags: they cannot be compared."));
    EXPECT_FALSE(HistoryDiff::side(store, QStringLiteral("77"), &why));
    EXPECT_EQ(why, QStringLiteral("There is no version 77."));
}
