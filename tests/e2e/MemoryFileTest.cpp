// The panel's memory file and how panel-sim builds its panel from options.
#include "DemoData.h"
#include "MemoryFile.h"
#include "PanelEngine.h"
#include "PanelSetup.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
const QDateTime kNow = PanelClock::fields(2026, 3, 5, 14, 22, 10);

QByteArray everyByte()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    return all;
}
} // namespace

TEST(MemoryFile, EscapingKeepsEveryByte)
{
    const QByteArray all = everyByte();
    EXPECT_EQ(MemoryFile::unescape(MemoryFile::escape(all)), all);
    EXPECT_EQ(MemoryFile::escape(""), QByteArray("="));
    EXPECT_EQ(MemoryFile::escape("a b%"), QByteArray("=a%20b%25"));
    EXPECT_FALSE(MemoryFile::unescape("abc"));
    EXPECT_FALSE(MemoryFile::unescape("=%4"));
    EXPECT_FALSE(MemoryFile::unescape("=%zz"));
}

TEST(MemoryFile, ADemoPanelSurvivesARestartByteForByte)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("panel.mem"));
    PanelEngine first(QStringLiteral("500"));
    first.clock().set(kNow);
    DemoData::seed(first.memory(), kNow);
    first.memory().setRecord(3, everyByte().left(32));
    first.memory().setRecord(129, everyByte().mid(200));
    QString error;
    ASSERT_TRUE(MemoryFile::write(path, MemoryFile::capture(first, kNow), &error)) << qPrintable(error);

    const auto image = MemoryFile::read(path, &error);
    ASSERT_TRUE(image) << qPrintable(error);
    EXPECT_EQ(image->model, QStringLiteral("500"));
    PanelEngine second(image->model);
    ASSERT_TRUE(MemoryFile::apply(*image, second, kNow.addSecs(3600), &error)) << qPrintable(error);
    for (int r = 0; r <= PanelMemory::kLastRfid; ++r)
        EXPECT_EQ(second.memory().record(r), first.memory().record(r)) << r;
    EXPECT_EQ(second.memory().events(), first.memory().events());
    EXPECT_EQ(second.clock().now(), kNow.addSecs(3600)); // the panel's clock kept running
    // A deterministic fixed point: saving again gives the same bytes.
    second.clock().set(kNow);
    EXPECT_EQ(MemoryFile::serialise(MemoryFile::capture(second, kNow)),
              MemoryFile::serialise(MemoryFile::capture(first, kNow)));
}

TEST(MemoryFile, AMalformedFileIsNamedByLineAndChangesNothing)
{
    QString error;
    EXPECT_FALSE(MemoryFile::parse("hello\n", &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("line 1:")));
    EXPECT_FALSE(MemoryFile::parse("corvalen-xarn-panel-memory 1\nrecord 0001 =ok\nrecord 12 =x\n", &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("line 3:"))) << qPrintable(error);
    EXPECT_FALSE(MemoryFile::parse("corvalen-xarn-panel-memory 1\nevent Q 2026-01-01T00:00:00 1 0 0 = =\n", &error));
    EXPECT_FALSE(MemoryFile::parse("corvalen-xarn-panel-memory 1\nmodel 300\n", &error));

    QTemporaryDir dir;
    EXPECT_FALSE(MemoryFile::read(dir.filePath(QStringLiteral("missing")), &error));
    EXPECT_TRUE(error.isEmpty());
}

TEST(MemoryFile, RecordsBeyondTheModelAreRefusedWithoutTouchingTheMemory)
{
    QString error;
    const auto image = MemoryFile::parse("corvalen-xarn-panel-memory 1\nrecord 0003 =new\nrecord 1000 =x\n", &error);
    ASSERT_TRUE(image) << qPrintable(error);
    PanelEngine small(QStringLiteral("100"));
    const QByteArray before = small.memory().record(3);
    EXPECT_FALSE(MemoryFile::apply(*image, small, kNow, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("1000")));
    EXPECT_EQ(small.memory().record(3), before);
}

TEST(PanelSetup, TheFileKeepsItsModelAndPinUnlessTheCommandLineSaysOtherwise)
{
    QTemporaryDir dir;
    PanelOptions options;
    options.memoryFile = dir.filePath(QStringLiteral("panel.mem"));
    options.demo = true;
    QString error;

    PanelSetup::Result fresh = PanelSetup::build(options, kNow, &error);
    ASSERT_TRUE(fresh.engine) << qPrintable(error);
    EXPECT_FALSE(fresh.loadedMemory);
    EXPECT_EQ(fresh.engine->memory().usedDirectorySlots(), int(DemoData::residents().size()));
    EXPECT_EQ(fresh.engine->pin(), QByteArray("1234"));
    EXPECT_EQ(fresh.engine->clock().now(), kNow);

    PanelEngine saved(QStringLiteral("200"));
    saved.setPin("55");
    saved.memory().setRecord(130, "7,,,,1,Only");
    ASSERT_TRUE(MemoryFile::write(options.memoryFile, MemoryFile::capture(saved, kNow), &error));

    PanelSetup::Result loaded = PanelSetup::build(options, kNow, &error);
    ASSERT_TRUE(loaded.engine) << qPrintable(error);
    EXPECT_TRUE(loaded.loadedMemory);
    EXPECT_EQ(loaded.engine->model().name, QStringLiteral("200"));
    EXPECT_EQ(loaded.engine->pin(), QByteArray("55"));
    EXPECT_EQ(loaded.engine->memory().usedDirectorySlots(), 1); // no demo over a loaded memory

    options.pin = "999";
    options.pinGiven = true;
    options.model = QStringLiteral("1000");
    options.modelGiven = true;
    PanelSetup::Result overridden = PanelSetup::build(options, kNow, &error);
    ASSERT_TRUE(overridden.engine);
    EXPECT_EQ(overridden.engine->pin(), QByteArray("999"));
    EXPECT_EQ(overridden.engine->model().name, QStringLiteral("1000"));

    QFile bad(options.memoryFile);
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a memory file\n");
    bad.close();
    EXPECT_FALSE(PanelSetup::build(options, kNow, &error).engine);
    EXPECT_TRUE(error.contains(QStringLiteral("line 1")));
    bad.open(QIODevice::ReadOnly);
    EXPECT_EQ(bad.readAll(), QByteArray("not a memory file\n")); // left as it was
}

TEST(DemoData, EntriesAreInTheProgramsFormAndRoomsOfTagsHaveResidents)
{
    for (const DemoData::Resident &r : DemoData::residents()) {
        const QByteArray text = DemoData::entryText(r);
        EXPECT_EQ(text.count(','), 5) << text.constData();
        EXPECT_LE(text.size(), 53);
        EXPECT_LE(QByteArray(r.name).size(), 16);
        EXPECT_LE(QByteArray(r.room).size(), 6);
    }
    PanelMemory memory(1152);
    DemoData::seed(memory, kNow);
    bool pause = false, star = false, hash = false;
    for (const DemoData::Resident &r : DemoData::residents()) {
        pause |= QByteArray(r.phone).contains('p');
        star |= QByteArray(r.phone).contains('*');
        hash |= QByteArray(r.phone).contains('#');
    }
    EXPECT_TRUE(pause && star && hash);
    EXPECT_GE(memory.storedTags().size(), 10);
    for (const QByteArray &tag : memory.storedTags())
        EXPECT_FALSE(memory.nameOfRoom(*memory.roomOfTag(tag)).isEmpty()) << tag.constData();
    QSet<int> kinds;
    for (const PanelEvent &e : memory.events())
        kinds << int(e.kind) * 10 + (e.kind == PanelEvent::Kind::Room ? e.source : 0);
    EXPECT_EQ(kinds.size(), 6); // rooms local, remote, RF-ID; buttons; calls; errors
}
