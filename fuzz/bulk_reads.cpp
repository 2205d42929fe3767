// The whole reads a backup takes before a write that erases, on a scripted
// panel sending arbitrary replies in arbitrary chunks: the directory
// ("d01281152"), the parameter records ("d00010010") and the RFID store
// ("s14081535"), and what takes lines out of their replies (the record lines
// of a bulk reply, the directory listing, the store image). None of them may
// crash on a reply of any length; a read that succeeds held records, and
// what it read survives its backup file byte for byte.
//
// Input: one byte for the chunk plan, then the three replies separated by
// the line "===".
#include "directory/DirectoryBackupContent.h"
#include "parameters/ParameterBackupContent.h"
#include "rfid/TagStoreContent.h"
#include "directory/DirectoryListing.h"
#include "directory/PhoneFields.h"
#include "link/BulkReply.h"
#include "link/ReplyMemo.h"
#include "rfid/StoreImage.h"
#include "support/FuzzApp.h"
#include "support/FuzzCheck.h"
#include "support/FuzzInput.h"

namespace {

bool sameSlot(const PanelEntry &a, const PanelEntry &b)
{
    return a.SlotAddress == b.SlotAddress && a.RoomNumber == b.RoomNumber && a.Code1 == b.Code1
        && a.Code2 == b.Code2 && a.Spare == b.Spare && a.PHnumber == b.PHnumber && a.Name == b.Name;
}

void checkLines(const QByteArray &reply)
{
    const qsizetype lines = ReplyMemo::splitLines(reply).size();
    FUZZ_CHECK(BulkReply::recordLines(reply, true).size() == qMax<qsizetype>(lines - 2, 0));
    FUZZ_CHECK(BulkReply::recordLines(reply, false).size() == qMax<qsizetype>(lines - 1, 0));
}

void checkListing(const DirectoryListing &listing)
{
    FUZZ_CHECK(listing.entries.size() <= listing.occupied.size());
    FUZZ_CHECK(listing.occupied.size() <= listing.records);
    for (const PanelEntry &slot : listing.occupied) {
        FUZZ_CHECK(DirectoryListing::holdsData(slot));
        FUZZ_CHECK(slot.RoomNumber.size() <= PhoneFields::kRoomWidth);
        FUZZ_CHECK(slot.Name.size() <= PhoneFields::kNameWidth);
        FUZZ_CHECK(slot.PHnumber.size() <= PhoneFields::kPhoneWidth);
    }
    for (const PanelEntry &e : listing.entries)
        FUZZ_CHECK(DirectoryListing::isResident(e));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const QList<QByteArray> replies = FuzzInput::parts(FuzzInput::bytes(data + 1, size - 1), 3);
    for (const QByteArray &reply : replies) {
        checkLines(reply);
        checkListing(DirectoryListing::read(reply, true));
        checkListing(DirectoryListing::read(reply, false));
        QString why;
        if (const std::optional<StoreImage> image = StoreImage::fromReply(reply, &why))
            FUZZ_CHECK(StoreImage::fromFile(image->toFile(), &why) == image);
        else
            FUZZ_CHECK(!why.isEmpty());
    }

    FuzzApp app;
    app.port.setChunkPlan(ChunkPlan(data[0]));
    app.answerInTurn(replies);
    QString why;

    if (const std::optional<DirectoryListing> listing = DirectoryBackupContent::readPanel(app.link, &why)) {
        FUZZ_CHECK(listing->records > 0);
        checkListing(*listing);
        // The backup keeps every slot that holds anything, exactly.
        const QList<PanelContent::File> files = DirectoryBackupContent::files(listing->occupied);
        const QList<PanelEntry> back = DirectoryBackupContent::entries(files.first().bytes);
        FUZZ_CHECK(back.size() == listing->occupied.size());
        for (qsizetype i = 0; i < back.size(); ++i)
            FUZZ_CHECK(sameSlot(back.at(i), listing->occupied.at(i)));
    } else {
        FUZZ_CHECK(!why.isEmpty());
    }

    why.clear();
    if (const std::optional<ParameterRecordSet> records = ParameterBackupContent::readPanel(app.link, &why)) {
        FUZZ_CHECK(records->isComplete());
        FUZZ_CHECK(ParameterRecordSet::fromFile(records->toFile(), &why) == records);
    } else {
        FUZZ_CHECK(!why.isEmpty());
    }

    why.clear();
    if (const std::optional<StoreImage> image = TagStoreContent::readPanel(app.link, &why))
        FUZZ_CHECK(StoreImage::fromFile(image->toFile(), &why) == image);
    else
        FUZZ_CHECK(!why.isEmpty());

    FUZZ_CHECK(!app.link.rx().EchoSuppressed);
    return 0;
}
