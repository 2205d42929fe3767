// A version as backup files for Open in Page and Restore, and whether it
// fits the panel it is to go to.
#include "HistoryTestData.h"

#include "backup/BackupContent.h"
#include "directory/DirectoryBackupContent.h"
#include "backup/BackupOpen.h"
#include "history/VersionFiles.h"

#include <QFile>

using namespace HistoryTestData;

TEST_F(Folder, AVersionBecomesTheBackupsFilesOfItsKind)
{
    const QList<PanelEntry> list = residents(7);
    const qint64 d = add(readDirectory(list, at(0)));
    const qint64 p = add(read(BackupKind::Parameters, HistoryContent::ofParameters(parameters()), at(1)));
    const qint64 t = add(read(BackupKind::Tags, HistoryContent::ofTags(tags(5)), at(2)));
    const QString scratch = dir.filePath(QStringLiteral("scratch"));
    QString why;

    const std::optional<BackupEntry> directory = VersionFiles::write(store, *store.version(d), scratch, &why);
    ASSERT_TRUE(directory) << why.toStdString();
    EXPECT_EQ(directory->kind(), BackupKind::Directory);
    EXPECT_EQ(directory->name.model, QStringLiteral("Xarn1000"));
    EXPECT_EQ(directory->name.when, at(0).toLocalTime());
    EXPECT_EQ(directory->count, 7);
    QByteArray bytes;
    ASSERT_TRUE(BackupContent::load(directory->path, &bytes, &why));
    const QList<PanelEntry> back = DirectoryBackupContent::entries(bytes);
    ASSERT_EQ(back.size(), list.size());
    EXPECT_EQ(back.at(6).SlotAddress, list.at(6).SlotAddress);
    EXPECT_EQ(back.at(6).PHnumber, list.at(6).PHnumber);
    EXPECT_FALSE(QFile::permissions(directory->path) & (QFile::ReadGroup | QFile::ReadOther));

    const std::optional<BackupEntry> parameterFiles = VersionFiles::write(store, *store.version(p), scratch, &why);
    ASSERT_TRUE(parameterFiles) << why.toStdString();
    ASSERT_TRUE(BackupContent::load(BackupContent::fileWithSuffix(*parameterFiles, QStringLiteral("records")), &bytes, &why));
    EXPECT_EQ(ParameterRecordSet::fromFile(bytes, &why), parameters());
    EXPECT_TRUE(parameterFiles->path.endsWith(QLatin1String("_parameters.sys")));

    const std::optional<BackupEntry> tagFiles = VersionFiles::write(store, *store.version(t), scratch, &why);
    ASSERT_TRUE(tagFiles) << why.toStdString();
    EXPECT_EQ(BackupOpen::tagStore(*tagFiles, &why), tags(5));

    HistoryVersion unknown = *store.version(d);
    unknown.id = 999;
    EXPECT_FALSE(VersionFiles::write(store, unknown, scratch, &why));
    EXPECT_EQ(why, QStringLiteral("There is no version 999."));
}

TEST_F(Folder, ADirectoryGoesOnlyToAPanelThatHasItsSlots)
{
    QList<PanelEntry> list = residents(3);
    list[2].SlotAddress = "2000"; // beyond the last slot of a 100 model (1D00)
    const HistoryVersion v = *store.version(add(readDirectory(list, at(0))));
    HistoryContent::Parsed content;

    VersionFiles::Fit fit = VersionFiles::check(store, v, 0x9000, &content);
    EXPECT_TRUE(fit.fits);
    EXPECT_TRUE(fit.warning.isEmpty());
    EXPECT_EQ(content.entries.size(), 3);

    fit = VersionFiles::check(store, v, 0x1D00, &content);
    EXPECT_FALSE(fit.fits);
    EXPECT_EQ(fit.problem, QStringLiteral("Version %1 holds Resident 0002 (102) in slot 2000, which this Corvalen "
                                          "(Xarn100) does not have; it cannot be restored to it.").arg(v.id));
    EXPECT_FALSE(VersionFiles::check(store, v, 0, &content).fits);

    list[2].SlotAddress = "1C0F"; // not a slot at all
    EXPECT_FALSE(VersionFiles::check(*store.version(add(readDirectory(list, at(1)))),
                                     *HistoryContent::parse(BackupKind::Directory, HistoryContent::ofDirectory(list), nullptr),
                                     0x9000)
                     .fits);

    list[2].SlotAddress = "1040";
    const HistoryVersion small = *store.version(add(readDirectory(list, at(2))));
    fit = VersionFiles::check(store, small, 0x1D00, &content);
    EXPECT_TRUE(fit.fits);
    EXPECT_TRUE(fit.warning.startsWith(QStringLiteral("Version %1 was read from a Xarn1000; this Corvalen is a Xarn100.").arg(small.id)))
        << fit.warning.toStdString();

    const HistoryVersion p = *store.version(add(read(BackupKind::Parameters, HistoryContent::ofParameters(parameters()), at(3))));
    fit = VersionFiles::check(store, p, 0x2A00, &content);
    EXPECT_TRUE(fit.fits);
    EXPECT_FALSE(fit.warning.isEmpty());
}
