// A site's folder made from its name: safe on every file system, readable,
// and never a folder that is already there.
#include "sites/SiteFolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(SiteFolders, SafeNamesKeepWhatIsReadableAndDropWhatIsDangerous)
{
    const struct
    {
        QString name;
        QString safe;
    } cases[] = {
        {QStringLiteral("12 Harbour Street, gate 2"), QStringLiteral("12 Harbour Street, gate 2")},
        {QStringLiteral("Müllerstraße 4 – Tor"), QStringLiteral("Müllerstraße 4 – Tor")},
        {QStringLiteral("North/South gate"), QStringLiteral("North-South gate")},
        {QStringLiteral("..\\..\\etc"), QStringLiteral("-..-etc")},
        {QStringLiteral("../../etc/passwd"), QStringLiteral("-..-etc-passwd")},
        {QStringLiteral(".hidden"), QStringLiteral("hidden")},
        {QStringLiteral("..."), QStringLiteral("site")},
        {QStringLiteral("   "), QStringLiteral("site")},
        {QString(), QStringLiteral("site")},
        {QStringLiteral("Line\none\ttab\x01"), QStringLiteral("Line one tab")},
        {QStringLiteral("Gate: 2? <east> \"a\" |b| *"), QStringLiteral("Gate- 2- -east- -a- -b- -")},
        {QStringLiteral("trailing dot. "), QStringLiteral("trailing dot")},
        {QStringLiteral("con"), QStringLiteral("_con")},
        {QStringLiteral("COM1.txt"), QStringLiteral("_COM1.txt")},
        {QStringLiteral("Console"), QStringLiteral("Console")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SiteFolders::safeName(c.name), c.safe) << qPrintable(c.name);
}

TEST(SiteFolders, ALongNameIsCutWithoutSplittingALetter)
{
    const QString name = QString(200, QChar(0x00E9)); // é: two bytes each
    const QString safe = SiteFolders::safeName(name);
    EXPECT_EQ(safe, QString(60, QChar(0x00E9)));
    const QString emoji = QStringLiteral("a") + QString::fromUtf8("\xF0\x9F\x8F\xA0").repeated(40); // 4 bytes each
    const QString cut = SiteFolders::safeName(emoji);
    EXPECT_LE(cut.toUtf8().size(), SiteFolders::kMaxBytes);
    EXPECT_EQ(cut, QStringLiteral("a") + QString::fromUtf8("\xF0\x9F\x8F\xA0").repeated(29));
}

TEST(SiteFolders, ANewFolderIsNeverOneThatIsThereOrTaken)
{
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("sites"));
    EXPECT_EQ(SiteFolders::newFolder(base, QStringLiteral("Gate"), {}), base + QStringLiteral("/Gate"))
        << "a base that does not exist yet";
    QDir().mkpath(base + QStringLiteral("/Gate"));
    QFile file(base + QStringLiteral("/gate (2)"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(SiteFolders::newFolder(base, QStringLiteral("Gate"), {}), base + QStringLiteral("/Gate (3)"));
    EXPECT_EQ(SiteFolders::newFolder(base, QStringLiteral("Gate"), {base + QStringLiteral("/GATE (3)/")}),
              base + QStringLiteral("/Gate (4)"));
    EXPECT_EQ(SiteFolders::newFolder(base, QStringLiteral("a/b"), {}), base + QStringLiteral("/a-b"));
}

} // namespace
