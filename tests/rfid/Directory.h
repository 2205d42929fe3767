#pragma once

#include "directory/PhoneDirectory.h"

// Directory entries for the RFID tests, in table field order.
namespace Directory {

inline void add(PhoneDirectory &directory, const QByteArray &name, const QByteArray &room, const QByteArray &rfid,
                const QByteArray &addr)
{
    directory.PhoneTable.appendRecord({name, room, "0123456", "1111", "2222", "33", rfid, addr});
}

inline QByteArray value(const PhoneDirectory &directory, const QByteArray &name, const char *field)
{
    const Table &table = directory.PhoneTable;
    const int row = table.find("Name", name);
    return row < 0 ? QByteArray("<none>") : table.value(row, field);
}

// A tag code in table form for a number: ten upper-case hexadecimal digits.
inline QByteArray code(int n)
{
    return QByteArray::number(0xA000000000LL + n, 16).toUpper();
}

} // namespace Directory
