#include "directory/PhoneListFile.h"

#include "directory/DirectoryContext.h"
#include "directory/PhoneListNotes.h"
#include "directory/ScrollSyncPause.h"
#include "table/SpreadsheetFile.h"
#include "table/TableFile.h"

PhoneListFile::PhoneListFile(DirectoryContext &ctx)
    : ctx_(ctx)
{
}

QString PhoneListFile::defaultFileName(const QString &folder)
{
    QString name = folder;
    if (!name.endsWith(QLatin1Char('/')))
        name += QLatin1Char('/');
    return name + QLatin1String(kDefaultName);
}

bool PhoneListFile::newList(const QString &workingFolder)
{
    if (ctx_.guard.busy())
        return false;
    PhoneDirectory &dir = ctx_.directory;
    dir.DefinePhoneFields();
    dir.PhoneTable.open();
    dir.PhoneTable.emptyTable();
    dir.setDBFiles(defaultFileName(workingFolder));
    dir.allowPhoneFileSave();
    ctx_.link.conn().DirectorySynced = false;
    dir.setWriteEachChangeEnabled(false);
    dir.SetupPhoneGrid();
    return true;
}

bool PhoneListFile::open(const QString &fileName)
{
    return openAs(fileName, fileName);
}

bool PhoneListFile::openAs(const QString &fileName, const QString &saveName)
{
    if (ctx_.guard.busy())
        return false;
    // The file is read whole before the table is touched: a file that cannot
    // be read leaves the table and DBFiles as they were, so that a later Save
    // cannot write an emptied list over the file that DBFiles names.
    QByteArray content;
    QString error;
    if (!TableFile::loadFile(fileName, &content, &error)) {
        ctx_.prompt.message(error, UserPrompt::Kind::Error);
        return false;
    }
    const TableRead read = TableFile::read(content, PhoneFields::definition());
    if (!load(read, saveName))
        return false;
    // A list from a spreadsheet loads whole; what it lost is said once.
    const QString notes = PhoneListNotes::text(read, fileName);
    if (!notes.isEmpty())
        ctx_.prompt.message(notes, UserPrompt::Kind::Information);
    return true;
}

bool PhoneListFile::load(TableRead read, const QString &saveName)
{
    if (ctx_.guard.busy())
        return false;
    upperCaseRfid(read.rows);

    PhoneDirectory &dir = ctx_.directory;
    Table &table = dir.PhoneTable;
    {
        ScrollSyncPause pause(dir);
        dir.TableLoading = true;
        dir.setDBFiles(saveName);
        dir.DefinePhoneFields();
        table.open();
        table.emptyTable();
        {
            Table::ControlsPause controls(table);
            for (const QList<QByteArray> &row : std::as_const(read.rows))
                table.appendRecord(row);
        }
        table.first();
        dir.SetupPhoneGrid();
        dir.TableLoading = false;
    }
    ctx_.link.conn().DirectorySynced = false;
    dir.setWriteEachChangeEnabled(false);
    dir.allowPhoneFileSave();
    emit dir.phoneListOpened();
    table.first(); // fills the edit fields
    return true;
}

// The panel's tag codes are upper-case hexadecimal; a file may hold them in
// either case.
void PhoneListFile::upperCaseRfid(QList<QList<QByteArray>> &rows)
{
    const QList<Table::Field> fields = PhoneFields::definition();
    qsizetype rfid = 0;
    while (rfid < fields.size() && fields.at(rfid).name != PhoneFields::Rfid)
        ++rfid;
    for (QList<QByteArray> &row : rows)
        if (rfid < row.size())
            row[rfid] = row.at(rfid).toUpper(); // ASCII letters only
}

bool PhoneListFile::write(const QString &fileName)
{
    QString error;
    if (TableFile::saveFile(fileName, TableFile::format(ctx_.directory.PhoneTable), &error))
        return true;
    ctx_.prompt.message(error, UserPrompt::Kind::Error);
    return false;
}

bool PhoneListFile::exportTo(const QString &fileName, char separator)
{
    QString error;
    if (SpreadsheetFile::save(fileName, SpreadsheetFile::tableRows(ctx_.directory.PhoneTable),
                              QStringLiteral("Phone list"), separator, &error))
        return true;
    ctx_.prompt.message(error, UserPrompt::Kind::Error);
    return false;
}

bool PhoneListFile::save()
{
    return write(ctx_.directory.DBFiles());
}

bool PhoneListFile::saveAs(const QString &fileName)
{
    ctx_.directory.setDBFiles(fileName);
    return write(fileName);
}
