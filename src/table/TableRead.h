#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// What a table file gave: its entries, and, for a file in a spreadsheet's
// form, what could not be kept as the file holds it.
struct TableRead
{
    // One value that the table holds otherwise than the file.
    struct Change
    {
        int entry = 0;         // index into rows
        int field = 0;         // index of the table field
        bool replaced = false; // characters outside Latin-1 became "?"
        bool cut = false;      // longer than the field's width
        QString original;      // the value as the file holds it
    };

    bool spreadsheet = false;      // read as a spreadsheet program writes (TableFileForm)
    QList<int> columnFields;       // each header column's table field, -1 for a name that matches none
    QList<QList<QByteArray>> rows; // one value per table field, in field order
    QList<int> fileRows;           // spreadsheet form: each entry's row in the file, the first line being 1
    QList<Change> changes;         // spreadsheet form only
    QStringList unusedColumns;     // spreadsheet form: header names that match no field
};
