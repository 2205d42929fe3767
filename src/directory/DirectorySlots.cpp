#include "directory/DirectorySlots.h"

#include "directory/PhoneFields.h"
#include "table/Table.h"

#include <QSet>
#include <cmath>

namespace DirectorySlots {

QByteArray text(qint32 address)
{
    return QByteArray::number(address, 16).toUpper().rightJustified(4, '0');
}

std::optional<qint32> value(const QByteArray &addr)
{
    if (addr.size() != PhoneFields::kAddrWidth)
        return std::nullopt;
    for (char c : addr) {
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!hex)
            return std::nullopt;
    }
    return qint32(addr.toUInt(nullptr, 16));
}

bool isDirectorySlot(const QByteArray &addr, qint32 directoryEnd)
{
    const qint32 last = directoryEnd < kFirst ? kLastOfAnyModel : directoryEnd;
    const std::optional<qint32> a = value(addr);
    return a && *a >= kFirst && *a <= last && (*a - kFirst) % kStep == 0;
}

bool isPlaceholder(const QByteArray &addr)
{
    if (addr.size() < 2 || addr.at(0) != 'p')
        return false;
    for (qsizetype i = 1; i < addr.size(); ++i)
        if (addr.at(i) < '0' || addr.at(i) > '9')
            return false;
    return true;
}

int uploadLimit(qint32 directoryEnd)
{
    return int(std::lround((double(directoryEnd) - 4096.0) / 32.0));
}

int slotCount(qint32 directoryEnd)
{
    return directoryEnd >= kFirst ? (directoryEnd - kFirst) / kStep + 1 : 0;
}

} // namespace DirectorySlots

QByteArray FindFreeSlot(Table &table, qint32 directoryEnd)
{
    table.sortOn(PhoneFields::Addr, Qt::CaseSensitive);
    if (directoryEnd < DirectorySlots::kFirst)
        return "0000";

    // A slot counts as used when an entry's "Addr" names it; a hand-edited
    // file may write it in lower case, which still names the same record.
    QSet<QByteArray> used;
    const int addr = table.fieldIndex(PhoneFields::Addr);
    for (int row = 0; row < table.count(); ++row)
        used.insert(table.value(row, addr).toUpper());

    for (qint32 a = DirectorySlots::kFirst; a <= directoryEnd; a += DirectorySlots::kStep) {
        const QByteArray candidate = DirectorySlots::text(a);
        if (!used.contains(candidate))
            return candidate;
    }
    return "0000";
}
