// Replies to a bulk read that hold fewer lines than such a reply has: a bare
// "OK", an empty line and "OK", the first line and "OK", one line, nothing,
// no "OK". Every consumer that takes lines out of a reply either takes what is
// there or refuses the read with its reason; none crashes, and none takes a
// reply without a single record for an empty directory, store or record set.
#include "../directory/DirectoryPanel.h"
#include "../rfid/Directory.h"
#include "backup/PanelBackups.h"
#include "directory/DirectoryBackupContent.h"
#include "parameters/ParameterBackupContent.h"
#include "rfid/TagStoreContent.h"
#include "directory/DirectoryTransfer.h"
#include "parameters/ParameterControls.h"
#include "parameters/ParameterWrites.h"
#include "rfid/RfidWriteAll.h"
#include "rfid/StoreImage.h"
#include "support/AppHarness.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kNoSlots = QStringLiteral("The Corvalen's reply held none of the directory's slots.");

struct ShortReply : ::testing::Test
{
    AppHarness h;

    ShortReply() { h.logOn(); }
    void answer(const QByteArray &reply)
    {
        h.port.setResponder([reply](const QByteArray &) { return reply; });
    }
};

// With a backups folder, the panel answering `reply` to the read the
// backup takes and as DirectoryPanel to everything else.
struct ShortReplyBeforeAWrite : ShortReply
{
    QTemporaryDir dir;
    PanelBackups backups{BackupStore(dir.filePath(QStringLiteral("backups")))};
    DirectoryPanel panel;
    QByteArray readReply;

    ShortReplyBeforeAWrite()
    {
        h.ctx.erase = &backups;
        h.port.setResponder([this](const QByteArray &command) {
            if (command == "d01281152" || command == "d00010010" || command == "s14081535")
                return readReply;
            return panel.answer(command);
        });
    }
    bool sent(const QByteArray &word) const
    {
        for (const QByteArray &c : h.port.commands())
            if (c.startsWith(word))
                return true;
        return false;
    }
};

} // namespace

TEST_F(ShortReply, ADirectoryReadWithoutASingleSlotLineIsAFailedRead)
{
    for (const QByteArray &reply : {QByteArray("OK\r\n"), QByteArray("\r\nOK\r\n"), QByteArray("d01281152\r\nOK\r\n"),
                                   QByteArray("d01281152\r\n\r\n\r\nOK\r\n")}) {
        answer(reply);
        QString why;
        EXPECT_FALSE(DirectoryBackupContent::readPanel(h.link, &why)) << reply.constData();
        EXPECT_EQ(why, kNoSlots) << reply.constData();
    }
    QString why;
    answer("d01281152\r\n1000 1,,,,,Adams\r\n");
    EXPECT_FALSE(DirectoryBackupContent::readPanel(h.link, &why));
    EXPECT_EQ(why, QStringLiteral("The Corvalen's reply did not end with OK."));
    answer({});
    EXPECT_FALSE(DirectoryBackupContent::readPanel(h.link, &why));
    EXPECT_EQ(why, QStringLiteral("The Corvalen did not answer."));

    // One empty slot is a read of an empty directory; one entry line is read.
    answer("d01281152\r\n1000 \r\nOK\r\n");
    std::optional<DirectoryListing> listing = DirectoryBackupContent::readPanel(h.link, &why);
    ASSERT_TRUE(listing);
    EXPECT_EQ(listing->records, 1);
    EXPECT_TRUE(listing->occupied.isEmpty());
    answer("d01281152\r\n1020 7,,,,0211,Baker\r\nOK\r\n");
    listing = DirectoryBackupContent::readPanel(h.link, &why);
    ASSERT_TRUE(listing);
    ASSERT_EQ(listing->entries.size(), 1);
    EXPECT_EQ(listing->entries[0].Name, QByteArray("Baker"));
    EXPECT_EQ(listing->entries[0].SlotAddress, QByteArray("1020"));
}

TEST_F(ShortReply, ParameterAndStoreReadsWithoutRecordsAreRefusedNotCutApart)
{
    for (const QByteArray &reply : {QByteArray("OK\r\n"), QByteArray("\r\nOK\r\n"), QByteArray("d00010010\r\nOK\r\n")}) {
        answer(reply);
        QString why;
        EXPECT_FALSE(ParameterBackupContent::readPanel(h.link, &why)) << reply.constData();
        EXPECT_EQ(why, QStringLiteral("The Corvalen's reply did not hold every parameter record."));
    }
    for (const QByteArray &reply : {QByteArray("OK\r\n"), QByteArray("\r\nOK\r\n"), QByteArray("s14081535\r\nOK\r\n")}) {
        answer(reply);
        QString why;
        EXPECT_FALSE(TagStoreContent::readPanel(h.link, &why)) << reply.constData();
        EXPECT_EQ(why, QStringLiteral("The Corvalen's RFID store could not be read: "
                                      "the reply held 0 of the 128 records."));
    }
    // One record line, no "OK", nothing at all.
    QString why;
    answer("d00010010\r\n0020 " + QByteArray(32, '1') + "\r\nOK\r\n");
    EXPECT_FALSE(ParameterBackupContent::readPanel(h.link, &why));
    EXPECT_EQ(why, QStringLiteral("The Corvalen's reply did not hold every parameter record."));
    answer("d00010010\r\n0020 " + QByteArray(32, '1') + "\r\n");
    EXPECT_FALSE(ParameterBackupContent::readPanel(h.link, &why));
    EXPECT_EQ(why, QStringLiteral("The Corvalen's reply did not end with OK."));
    answer("s14081535\r\n1408 " + QByteArray(64, '?') + "\r\nOK\r\n");
    EXPECT_FALSE(TagStoreContent::readPanel(h.link, &why));
    EXPECT_EQ(why, QStringLiteral("The Corvalen's RFID store could not be read: the reply held 1 of the 128 records."));
    answer({});
    EXPECT_FALSE(TagStoreContent::readPanel(h.link, &why));
    EXPECT_EQ(why, QStringLiteral("The Corvalen did not answer."));

    EXPECT_FALSE(StoreImage::fromReply("OK\r\n", &why));
    EXPECT_EQ(why, QStringLiteral("the reply held 0 of the 128 records."));
    EXPECT_FALSE(StoreImage::fromReply({}, &why));
    EXPECT_EQ(why, QStringLiteral("the reply did not end with OK."));
    EXPECT_FALSE(StoreImage::fromReply("s14081535\r\n", &why));
    EXPECT_EQ(why, QStringLiteral("the reply did not end with OK."));
}

TEST_F(ShortReplyBeforeAWrite, ABareOkToTheBackupReadStopsTheUploadBeforeTheErase)
{
    panel.store(128, "101,,,,0211,Adams");
    h.directory.PhoneTable.appendRecord({"Wrong Person", "7"});
    for (const QByteArray &reply : {QByteArray("OK\r\n"), QByteArray("\r\nOK\r\n")}) {
        readReply = reply;
        h.prompt.messages.clear();
        h.prompt.answers = {false}; // No to writing without a backup
        EXPECT_EQ(DirectoryTransfer(h.ctx).WriteDataClick(), DirectoryTransfer::Outcome::NotStarted);
        EXPECT_FALSE(sent("f5a"));
        EXPECT_EQ(panel.records.value(128), QByteArray("101,,,,0211,Adams"));
        ASSERT_EQ(h.prompt.messages.size(), 1);
        EXPECT_EQ(h.prompt.messages[0], QStringLiteral("No backup of the phone list could be taken:\r\n") + kNoSlots
                                            + QStringLiteral("\r\nNothing was written to the Corvalen."));
    }
    EXPECT_TRUE(backups.store().list().isEmpty());
}

TEST_F(ShortReplyBeforeAWrite, ABareOkToTheParameterOrStoreReadStopsTheirWrites)
{
    readReply = "OK\r\n";
    ParameterControls controls(&h.directory);
    h.prompt.answers = {false};
    ParameterWrites::writeAll(h.ctx, controls);
    EXPECT_FALSE(sent("p"));
    ASSERT_FALSE(h.prompt.messages.isEmpty());
    EXPECT_TRUE(h.prompt.messages[0].startsWith(QStringLiteral("No backup of the parameters could be taken:")));

    h.prompt.messages.clear();
    Directory::add(h.directory, "Ann", "4711", Directory::code(1), "1000");
    h.prompt.answers = {false};
    EXPECT_EQ(RfidWriteAll(h.ctx).writeall_idClick(), RfidWriteAll::Outcome::Declined);
    EXPECT_FALSE(sent("c1418"));
    ASSERT_FALSE(h.prompt.messages.isEmpty());
    EXPECT_TRUE(h.prompt.messages[0].startsWith(QStringLiteral("No backup of the RFID codes could be taken:")));
}
