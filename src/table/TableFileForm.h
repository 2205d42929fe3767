#pragma once

#include "table/Table.h"

#include <QByteArrayView>

// How a table file is written: in this program's own form or as a
// spreadsheet program writes it. Decided from the file as a whole, so that
// a file this program wrote is always read by its own rules (see detect()).
struct TableFileForm
{
    bool spreadsheet = false; // quotes are read, "%" is no escape
    bool utf8 = false;        // the text is UTF-8 (else 8-bit, read as Latin-1)
    int bomSize = 0;          // bytes of a byte-order mark at the start
    char separator = ',';

    static TableFileForm detect(QByteArrayView bytes, const QList<Table::Field> &fields);
};
