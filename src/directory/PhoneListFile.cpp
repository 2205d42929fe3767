#include "directory/PhoneListFile.h"

#include "app/AppContext.h"
#include "directory/ScrollSyncPause.h"
#include "table/TableFile.h"

PhoneListFile::PhoneListFile(AppContext &ctx)
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
    if (ctx_.guard.busy())
        return false;
    PhoneDirectory &dir = ctx_.directory;
    Table &table = dir.PhoneTable;
    QByteArray content;
    QString error;
    bool loaded = false;
    {
        ScrollSyncPause pause(dir);
        dir.TableLoading = true;
        loaded = TableFile::loadFile(fileName, &content, &error);
        if (loaded)
            dir.setDBFiles(fileName);
        dir.DefinePhoneFields();
        table.open();
        table.emptyTable();
        if (loaded) {
            Table::ControlsPause controls(table);
            TableFile::appendTo(table, content);
        }
        table.first();
        dir.SetupPhoneGrid();
        dir.TableLoading = false;
    }
    // The table no longer holds what the panel holds, also when the file
    // could not be read and the table stayed empty.
    ctx_.link.conn().DirectorySynced = false;
    dir.setWriteEachChangeEnabled(false);
    dir.allowPhoneFileSave();
    if (!loaded) {
        ctx_.prompt.message(error, UserPrompt::Kind::Error);
        table.first();
        return false;
    }
    emit dir.phoneListOpened();
    table.first(); // fills the edit fields
    return true;
}

bool PhoneListFile::write(const QString &fileName)
{
    QString error;
    if (TableFile::saveFile(fileName, TableFile::format(ctx_.directory.PhoneTable), &error))
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
