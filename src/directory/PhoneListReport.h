#pragma once

#include "table/Report.h"

#include <QByteArray>
#include <QList>
#include <QString>

class Table;

// The phone directory printed as a list for a notice board: the residents'
// names and rooms in large type, sorted by name (or by room). Telephone
// numbers and gate codes are private: they are printed only when asked.
namespace PhoneListReport {

struct Options
{
    QString site;          // the site's name, or empty
    QString from;          // where the list comes from: a file name, "the panel"
    bool phoneNumbers = false;
    bool codes = false;    // Code1 and Code2
    bool byRoom = false;   // sorted by room instead of name
};

// The entries of a phone table, one value per field in PhoneFields order.
QList<QList<QByteArray>> entriesOf(const Table &PhoneTable);

// Reads a phone list file (this program's form or a spreadsheet's). False
// with "Cannot open file <name>" when it cannot be read.
bool readFile(const QString &fileName, QList<QList<QByteArray>> *entries, QString *error = nullptr);

// Entries without a name and a room are left out.
Report build(const QList<QList<QByteArray>> &entries, const Options &options);

} // namespace PhoneListReport
