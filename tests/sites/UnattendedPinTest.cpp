// The PIN of an unattended job, for the keepings that need no keyring (the
// keyring's own fallback is run end to end, in the nightly backup's test,
// where no desktop session is).
#include "sites/PinFile.h"
#include "sites/UnattendedPin.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

Site siteIn(const QTemporaryDir &dir, Site::PinKeeping keeping)
{
    Site site;
    site.name = QStringLiteral("Harbour Street");
    site.folder = dir.filePath(QStringLiteral("harbour"));
    site.pinKeeping = keeping;
    return site;
}

TEST(UnattendedPin, APrivatePinFileGivesThePinAndOneOthersCanReadIsNeverUsed)
{
    QTemporaryDir dir;
    const Site site = siteIn(dir, Site::PinKeeping::PinFile);
    QString error;
    ASSERT_TRUE(PinFile::write(site.pinFilePath(), "2468", &error)) << qPrintable(error);
    PinVault vault(1000);
    const PinVault::Result read = UnattendedPin::read(site, vault);
    ASSERT_TRUE(read.ok) << qPrintable(read.message);
    EXPECT_EQ(read.pin, QByteArray("2468"));
    EXPECT_EQ(read.store, PinVault::Store::PinFile);

    QFile(site.pinFilePath()).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    const PinVault::Result unsafe = UnattendedPin::read(site, vault);
    EXPECT_FALSE(unsafe.ok);
    EXPECT_TRUE(unsafe.pin.isEmpty());
    EXPECT_EQ(unsafe.problem, PinVault::Problem::PinFileUnsafe);
}

TEST(UnattendedPin, ASiteWithNoPinKeptFailsNamingBothWaysToKeepIt)
{
    QTemporaryDir dir;
    PinVault vault(1000);
    for (Site::PinKeeping keeping : {Site::PinKeeping::PinFile, Site::PinKeeping::NotRemembered}) {
        Site site = siteIn(dir, keeping);
        const PinVault::Result read = UnattendedPin::read(site, vault);
        EXPECT_FALSE(read.ok);
        EXPECT_TRUE(read.message.contains(QStringLiteral("keyring"))) << qPrintable(read.message);
        EXPECT_TRUE(read.message.contains(QStringLiteral("--keep file"))) << qPrintable(read.message);
        EXPECT_TRUE(read.message.contains(QStringLiteral("Harbour Street"))) << qPrintable(read.message);
    }
    // A PIN not to be remembered stays so, even with a file lying in the folder.
    Site site = siteIn(dir, Site::PinKeeping::NotRemembered);
    QString error;
    ASSERT_TRUE(PinFile::write(site.pinFilePath(), "1357", &error));
    EXPECT_FALSE(UnattendedPin::read(site, vault).ok);
}

} // namespace
