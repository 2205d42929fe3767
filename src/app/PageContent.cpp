#include "app/PageContent.h"

#include "directory/DirectoryComparison.h"
#include "directory/PhoneFields.h"
#include "history/HistoryContent.h"
#include "parameters/ParameterWrites.h"
#include "rfid/StoreCodec.h"
#include "rfid/StoreImage.h"
#include "table/Table.h"

namespace PageContent {

namespace {

// The store Write All would leave: the codes with a room, packed in table
// order, record after record from the first.
StoreImage tagStore(const Table &table)
{
    StoreImage image;
    QByteArray text;
    int number = StoreCodec::kFirstRecord;
    for (int row = 0; row < table.count() && number <= StoreCodec::kLastRecord; ++row) {
        const QByteArray room = table.value(row, QByteArray(PhoneFields::RoomNumber));
        const QByteArray code = table.value(row, QByteArray(PhoneFields::Rfid));
        if (room.isEmpty() || code.isEmpty())
            continue;
        text += StoreCodec::packEntry(room, code);
        if (text.size() >= StoreCodec::kRecordWidth) {
            image.setRecord(number++, text);
            text.clear();
        }
    }
    if (!text.isEmpty() && number <= StoreCodec::kLastRecord)
        image.setRecord(number, StoreCodec::padRecord(text));
    return image;
}

} // namespace

QByteArray of(BackupKind kind, const Table &phoneTable, ParameterControls &controls)
{
    switch (kind) {
    case BackupKind::Directory:
        return HistoryContent::ofDirectory(DirectoryComparison::tableEntries(phoneTable));
    case BackupKind::Parameters:
        return HistoryContent::ofParameters(ParameterWrites::recordsToWrite(controls));
    case BackupKind::Tags:
        return HistoryContent::ofTags(tagStore(phoneTable));
    }
    return {};
}

} // namespace PageContent
