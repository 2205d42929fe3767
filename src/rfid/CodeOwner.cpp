#include "rfid/CodeOwner.h"

#include "directory/PhoneDirectory.h"
#include "directory/PhoneFields.h"
#include "rfid/RfidPageState.h"

bool FindCodeOwner(const PhoneDirectory &directory, RfidPageState &page, const QByteArray &code)
{
    if (code.isEmpty())
        return false;
    const Table &table = directory.PhoneTable;
    const int rfid = table.fieldIndex(PhoneFields::Rfid);
    const int room = table.fieldIndex(PhoneFields::RoomNumber);
    for (int row = 0; row < table.count(); ++row) {
        if (table.value(row, rfid).compare(code, Qt::CaseInsensitive) == 0) {
            page.showCodeOwner(table.value(row, room));
            return true;
        }
    }
    return false;
}
