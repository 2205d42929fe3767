#pragma once

#include "table/TableRead.h"

#include <QByteArray>
#include <QList>
#include <QString>

struct DirectoryContext;

// The phone list file and the phone page's file commands, below the
// dialogs: the page asks for a file name and hands it over.
//
// The file is the comma-separated table format (header line of the field
// names, one CR LF line per entry in the table's current order). Open also
// reads what spreadsheet programs write (TableFileForm) and says once what
// such a file lost. Saving and exporting replace the file atomically, so a
// failed save leaves the old file whole; the table never changes by a save.
//
// New and Open do nothing while an exchange with the panel is running: they
// would pull the table from under a download or an upload.
class PhoneListFile
{
public:
    static constexpr const char *kDefaultName = "CorvalenPhList.csv";

    explicit PhoneListFile(DirectoryContext &ctx);

    // The default phone list in a folder: the folder, "/" unless it ends
    // with one, and "CorvalenPhList.csv".
    static QString defaultFileName(const QString &folder);

    // The table part of New: an empty phone table, DBFiles the default name
    // in the working folder, Save and Save As allowed, DirectorySynced clear,
    // Write Each Change disabled, the grids set up.
    bool newList(const QString &workingFolder);

    // Reads a phone list chosen by the user; RFID codes are stored in
    // upper case. A file that cannot be read, or one larger than any list
    // (TableFile::kMaxFileBytes), is reported as "Cannot open file <name>"
    // and changes nothing: the table, DBFiles and the flags stay as they
    // were, so a later Save cannot put an empty list over the earlier file.
    bool open(const QString &fileName);
    // As open(), but DBFiles becomes saveName: for a list kept where a later
    // Save must not write (a backup), Save then writes a file of its own.
    bool openAs(const QString &fileName, const QString &saveName);

    // The table part of open(): entries already read (TableFile::read) go
    // into the table, DBFiles becomes saveName; nothing is said.
    bool load(TableRead read, const QString &saveName);

    // Writes the table for spreadsheet programs (SpreadsheetFile), with the
    // separator they expect, or as a workbook when the name ends in ".xlsx";
    // DBFiles stays. "Cannot create file <name>" on failure.
    bool exportTo(const QString &fileName, char separator);

    // Writes the table to DBFiles; "Cannot create file <name>" on failure.
    bool save();
    // DBFiles becomes fileName, then as save().
    bool saveAs(const QString &fileName);

private:
    bool write(const QString &fileName);
    static void upperCaseRfid(QList<QList<QByteArray>> &rows);

    DirectoryContext &ctx_;
};
