// The log-on dialog's PIN for a site, through the real vault on a PIN file:
// kept, offered again, forgotten; a store that cannot be used is told and
// nothing goes elsewhere.
#include "sites/PinFile.h"
#include "sites/PinVault.h"
#include "sites/SitePinKeeper.h"
#include "support/Recorders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SitePinKeeperTest, KeepsOffersAndForgetsTheSitesPinAndTellsWhatFailed)
{
    QTemporaryDir dir;
    Site site;
    site.id = QUuid::createUuid();
    site.name = QStringLiteral("Mill Lane");
    site.folder = dir.filePath(QStringLiteral("mill"));
    site.pinKeeping = Site::PinKeeping::PinFile;
    PinVault vault;
    RecordingPrompt prompt;
    SitePinKeeper keeper(site, vault, prompt);

    EXPECT_FALSE(keeper.keptPin()); // nothing kept yet: no message either
    EXPECT_TRUE(prompt.messages.isEmpty());
    keeper.keep("2468", true);
    EXPECT_EQ(keeper.keptPin(), std::optional<QByteArray>("2468"));
    EXPECT_EQ(QFile(site.pinFilePath()).permissions() & 0x0077, 0);

    keeper.keep("2468", false);
    EXPECT_FALSE(QFile::exists(site.pinFilePath()));
    EXPECT_TRUE(prompt.messages.isEmpty());

    // A file others can read: not offered, and the user is told why.
    ASSERT_TRUE(PinFile::write(site.pinFilePath(), "1111", nullptr));
    QFile(site.pinFilePath()).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    EXPECT_FALSE(keeper.keptPin());
    ASSERT_EQ(prompt.messages.size(), 1);

    // A site whose PIN is not remembered keeps nothing anywhere.
    site.pinKeeping = Site::PinKeeping::NotRemembered;
    site.folder = dir.filePath(QStringLiteral("other"));
    SitePinKeeper nowhere(site, vault, prompt);
    nowhere.keep("2468", true);
    EXPECT_FALSE(QDir(site.folder).exists());
    EXPECT_FALSE(nowhere.keptPin());
}
