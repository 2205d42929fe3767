#include "app/widgets/FrameFileCommands.h"

#include "app/widgets/FramePages.h"
#include "directory/widgets/PhonePage.h"
#include "events/widgets/EventsPage.h"
#include "link/Connection.h"
#include "link/LogOnDetails.h"
#include "link/PortChoice.h"
#include "parameters/widgets/SystemPage.h"

FrameFileCommands::FrameFileCommands(DirectoryContext &ctx, FramePages &pages, PortChoice &ports, Connection &connection)
    : ctx_(ctx)
    , pages_(pages)
    , ports_(ports)
    , connection_(connection)
{
}

void FrameFileCommands::FileNew1Execute()
{
    if (ctx_.guard.refusesClick())
        return;
    pages_.phonePage()->newPhoneList();
    ports_.setDetailsFileName(QString::fromLatin1(LogOnDetails::kFileName));
    if (ctx_.fileCommands)
        ctx_.fileCommands->enableSaveCommands();
    ctx_.directory.allowPhoneFileSave();
    ctx_.link.conn().DirectorySynced = false;
    ctx_.directory.setWriteEachChangeEnabled(false);
    connection_.GoOffline();
    pages_.systemPage()->hideNoAnswerRingTime();
}

void FrameFileCommands::FileOpen1Execute()
{
    if (ctx_.guard.refusesClick())
        return;
    if (pages_.showing() == pages_.phonePage())
        pages_.phonePage()->openPhoneList();
    else if (pages_.showing() == pages_.systemPage())
        pages_.systemPage()->openParameterFile();
}

void FrameFileCommands::FileSave1Execute()
{
    if (ctx_.guard.refusesClick())
        return;
    pages_.phonePage()->savePhoneList();
}

void FrameFileCommands::SaveAsClick()
{
    if (ctx_.guard.refusesClick())
        return;
    QWidget *showing = pages_.showing();
    if (showing == pages_.phonePage())
        pages_.phonePage()->saveAsPhoneList();
    else if (showing == pages_.systemPage())
        pages_.systemPage()->saveAsParameterFile();
    else if (showing == pages_.eventsPage())
        pages_.eventsPage()->saveAsEventFile();
}

void FrameFileCommands::FileExportItemClick()
{
    if (ctx_.guard.busy())
        return;
    QWidget *showing = pages_.showing();
    if (showing == pages_.phonePage())
        pages_.phonePage()->exportPhoneList();
    else if (showing == pages_.eventsPage())
        pages_.eventsPage()->exportEventFile();
}
