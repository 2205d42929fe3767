#include "rfid/RfidEntryActions.h"

#include "directory/PhoneFields.h"
#include "rfid/StoreCodec.h"

RfidEntryActions::RfidEntryActions(DirectoryContext &ctx, RfidPageState &page)
    : ctx_(ctx)
    , page_(page)
{
}

bool RfidEntryActions::hasCurrentEntry() const
{
    return ctx_.directory.PhoneTable.isOpen() && ctx_.directory.PhoneTable.position() >= 1;
}

bool RfidEntryActions::Button1Click()
{
    PhoneDirectory &directory = ctx_.directory;
    if (directory.TableLoading || !hasCurrentEntry())
        return false;
    Table &table = directory.PhoneTable;
    const bool sync = directory.ScrollSyncOn;
    directory.ScrollSyncOn = false;
    const QByteArray code = StoreCodec::UpperCaseCode(page_.rfID());
    table.edit();
    table.setField(PhoneFields::Rfid, code);
    ctx_.link.PumpWait(10);
    table.post();
    ctx_.link.PumpWait(10);
    directory.ScrollSyncOn = sync;
    page_.setRfID(code);
    page_.hideLcExist();
    return true;
}

bool RfidEntryActions::Button2Click()
{
    PhoneDirectory &directory = ctx_.directory;
    if (directory.TableLoading || !hasCurrentEntry())
        return false;
    Table &table = directory.PhoneTable;
    const bool sync = directory.ScrollSyncOn;
    directory.ScrollSyncOn = false;
    directory.DeleteConfirmed = true;
    const bool deleted = table.remove();
    directory.DeleteConfirmed = false;
    ctx_.link.PumpWait(10);
    directory.ScrollSyncOn = sync;
    // The delete's own after-scroll ran while the fields were not synced:
    // show the entry that is now current, not the deleted one.
    if (deleted && sync)
        table.moveTo(table.currentRow());
    page_.hideLcExist();
    return deleted;
}
