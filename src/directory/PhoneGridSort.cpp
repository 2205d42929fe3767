#include "directory/PhoneGridSort.h"

#include "directory/PhoneFields.h"
#include "table/Table.h"

namespace PhoneGridSort {

void DBGrid1TitleClick(Table &table, const QByteArray &fieldName)
{
    if (!table.isOpen())
        return;
    table.refresh();
    table.sortOn(fieldName, Qt::CaseInsensitive);
    table.first();
}

void SortbyAddrClick(Table &table)
{
    if (!table.isOpen())
        return;
    table.sortOn(PhoneFields::Addr, Qt::CaseSensitive);
    table.first();
}

} // namespace PhoneGridSort
