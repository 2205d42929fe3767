#pragma once

#include "directory/DirectoryContext.h"
#include "rfid/RfidPageState.h"

// The two entry buttons of the RFID page. They change only the in-memory
// directory; Write All takes the codes to the panel. Both do nothing while a
// download or file load fills the table (TableLoading) and nothing when the
// table has no stored current entry.
class RfidEntryActions
{
public:
    RfidEntryActions(DirectoryContext &ctx, RfidPageState &page);

    // "Up Date": the current entry's RFID := rfID as it stands (unchecked,
    // possibly empty, which erases the code), its letters a-f in upper case
    // as the panel keeps them; rfID shows what was stored. Lc_exist is
    // hidden.
    bool Button1Click();

    // "Del": deletes the whole current entry (name, room, phone number,
    // codes and tag), without a question, through DeleteConfirmed. The
    // confirmation is used up whether or not a delete took place, and the
    // pages are then shown the entry that became current. Lc_exist is hidden.
    bool Button2Click();

private:
    bool hasCurrentEntry() const;

    DirectoryContext &ctx_;
    RfidPageState &page_;
};
