#include "app/PageContent.h"

#include "rfid/StoreOfTable.h"

#include "directory/DirectoryComparison.h"
#include "directory/PhoneFields.h"
#include "history/HistoryContent.h"
#include "parameters/ParameterWrites.h"
#include "rfid/StoreCodec.h"
#include "rfid/StoreImage.h"
#include "table/Table.h"

namespace PageContent {

QByteArray of(BackupKind kind, const Table &phoneTable, ParameterControls &controls)
{
    switch (kind) {
    case BackupKind::Directory:
        return HistoryContent::ofDirectory(DirectoryComparison::tableEntries(phoneTable));
    case BackupKind::Parameters:
        return HistoryContent::ofParameters(ParameterWrites::recordsToWrite(controls));
    case BackupKind::Tags:
        return HistoryContent::ofTags(StoreOfTable::of(phoneTable));
    }
    return {};
}

} // namespace PageContent
