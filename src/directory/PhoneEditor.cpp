#include "directory/PhoneEditor.h"

#include "directory/DirectoryContext.h"
#include "directory/DirectorySlots.h"
#include "directory/EntryText.h"
#include "directory/EntryWriteCheck.h"
#include "directory/PanelEntry.h"
#include "directory/PhoneFields.h"

namespace {
constexpr int kWriteAttempts = 5;
const QString kNoSlot = QStringLiteral("Could Not Assign a new addr");
} // namespace

PhoneEditor::PhoneEditor(DirectoryContext &ctx, QObject *parent)
    : QObject(parent)
    , ctx_(ctx)
{
    connect(&ctx_.directory.PhoneTable, &Table::afterScroll, this, &PhoneEditor::PhoneTableAfterScroll);
}

PhoneEntryView PhoneEditor::entryView(const Table &table)
{
    PhoneEntryView v;
    v.rfName = table.field(PhoneFields::Name);
    v.rfRoom = table.field(PhoneFields::RoomNumber);
    v.rfID = table.field(PhoneFields::Rfid);
    v.edits.RoomNumber = v.rfRoom;
    v.edits.Namef = v.rfName;
    v.edits.PHnumber = table.field(PhoneFields::PHnumber);
    v.edits.Code1 = table.field(PhoneFields::Code1);
    v.edits.Code2 = table.field(PhoneFields::Code2);
    v.edits.Spare = table.field(PhoneFields::Spare);
    v.recordno = table.position();
    v.totrec = table.count();
    return v;
}

void PhoneEditor::PhoneTableAfterScroll()
{
    if (!ctx_.directory.ScrollSyncOn)
        return;
    emit entryShown(entryView(ctx_.directory.PhoneTable));
    setButtons(false, false, false); // filling the fields has just enabled them
}

void PhoneEditor::setButtons(bool navInst, bool navOk, bool undo)
{
    if (navInst == navInst_ && navOk == navOk_ && undo == undo_)
        return;
    navInst_ = navInst;
    navOk_ = navOk;
    undo_ = undo;
    emit editButtonsChanged(navInst_, navOk_, undo_);
}

void PhoneEditor::UpdateEditButtons(const PhoneEditTexts &texts)
{
    if (ctx_.directory.PhoneTable.isOpen() && !texts.Namef.isEmpty() && !texts.RoomNumber.isEmpty())
        setButtons(true, true, true);
}

bool PhoneEditor::writeEachChangeApplies() const
{
    const ConnectionState &conn = ctx_.link.conn();
    return conn.LoggedOn && ctx_.directory.writeEachChangeTicked() && conn.DirectorySynced;
}

bool PhoneEditor::NavOkClick(PhoneEditTexts texts)
{
    ExchangeGuard::Scope scope(ctx_.guard);
    if (!scope)
        return false;
    return okAction(texts);
}

bool PhoneEditor::okAction(const PhoneEditTexts &texts)
{
    const PhoneDirectory &dir = ctx_.directory;
    if (dir.TableLoading || !navOk_ || !dir.PhoneTable.isOpen()) {
        startEntryAfterLast();
        return false;
    }
    if (!storeEntry(texts))
        return false;
    startEntryAfterLast();
    return true;
}

// Steps up to the refill of the fields; false when the entry was not stored
// (the fields then keep the typed texts, and an entry being added is still
// being added).
bool PhoneEditor::storeEntry(const PhoneEditTexts &texts)
{
    PhoneDirectory &dir = ctx_.directory;
    Table &table = dir.PhoneTable;
    CommandExchange &link = ctx_.link;

    dir.ScrollSyncOn = false;
    const int p = table.position();

    // The buttons stay enabled when Name or Room is cleared after typing; an
    // entry without them is an empty slot on the panel.
    if ((texts.Namef.isEmpty() || StripLeadingSpaces(texts.RoomNumber).isEmpty())
        && !ctx_.prompt.ask(QStringLiteral("Name or RoomNumber is empty,\r\nStore this entry anyway?"),
                            UserPrompt::Kind::Confirmation)) {
        dir.ScrollSyncOn = true;
        return false;
    }

    const int sameRoom = table.find(PhoneFields::RoomNumber, texts.RoomNumber);
    if (sameRoom >= 0 && sameRoom + 1 != p
        && !ctx_.prompt.ask(QStringLiteral("RoomNumber exist, Continue?"), UserPrompt::Kind::Information)) {
        dir.ScrollSyncOn = true;
        return false;
    }
    if (p == -1 && table.count() >= kMaxEntries) {
        ctx_.prompt.message(QStringLiteral("Phone list limit=1000 max."));
        dir.ScrollSyncOn = true;
        return false;
    }

    // The slot to give the entry: a free one for a new entry, and, while
    // Write Each Change applies, for an entry that has no panel slot yet (an
    // entry appended by the RFID download) - never a made-up record.
    const qint32 directoryEnd = link.conn().DirectoryEnd;
    bool write = writeEachChangeApplies();
    QByteArray slot;
    if (p == -1) {
        slot = FindFreeSlot(table, directoryEnd);
        if (slot == "0000") {
            ctx_.prompt.message(kNoSlot);
            table.append(); // still adding: a second OK must not land on another entry
            dir.ScrollSyncOn = true;
            return false;
        }
        table.append();
    } else if (write && !DirectorySlots::isDirectorySlot(table.field(PhoneFields::Addr), directoryEnd)) {
        slot = FindFreeSlot(table, directoryEnd); // the entry stays the current one
        if (slot == "0000") {
            ctx_.prompt.message(kNoSlot);
            slot.clear();
            write = false;
        }
    }

    table.setField(PhoneFields::RoomNumber, NumericOrZero(texts.RoomNumber, ctx_.prompt));
    table.setField(PhoneFields::Name, texts.Namef);
    table.setField(PhoneFields::PHnumber, texts.PHnumber);
    table.setField(PhoneFields::Code1, texts.Code1);
    table.setField(PhoneFields::Code2, texts.Code2);
    table.setField(PhoneFields::Spare, texts.Spare);
    if (!slot.isEmpty())
        table.setField(PhoneFields::Addr, slot);

    // What goes to the panel is what the table stores (so a room that is not
    // a number goes as the "0" stored), taken before the waits let anything
    // else move the cursor.
    const QByteArray writeSlot = table.field(PhoneFields::Addr);
    const QByteArray text = PanelEntryText(table.field(PhoneFields::RoomNumber), table.field(PhoneFields::Code1),
                                           table.field(PhoneFields::Code2), table.field(PhoneFields::Spare),
                                           table.field(PhoneFields::PHnumber), table.field(PhoneFields::Name));
    const QString refused = write ? EntryWriteCheck::refusal(entryView(table).edits) : QString();
    link.PumpWait(10);
    table.post(); // the cursor stays on the stored entry, wherever the sort puts it
    link.PumpWait(10);

    if (write && writeEachChangeApplies()) {
        if (refused.isEmpty())
            writeEntry(writeSlot, text);
        else
            ctx_.prompt.message(refused + QStringLiteral("\r\nThe entry is stored, but not written."),
                                UserPrompt::Kind::Error);
    }

    setButtons(false, false, false);
    dir.ScrollSyncOn = true;
    link.PumpWait(10);
    PhoneTableAfterScroll();
    link.PumpWait(10);
    return true;
}

// WriteRecord, five attempts.
void PhoneEditor::writeEntry(const QByteArray &slot, const QByteArray &text)
{
    for (int attempt = 0; attempt < kWriteAttempts; ++attempt)
        if (ctx_.link.WriteRecord(slot, text))
            return;
    ctx_.prompt.message(QStringLiteral("Failed to Write"), UserPrompt::Kind::Error);
}

// After the last entry a new empty entry starts, so that the next text typed
// becomes a new entry; the focus goes to the name.
void PhoneEditor::startEntryAfterLast()
{
    Table &table = ctx_.directory.PhoneTable;
    const int position = table.position();
    if (table.isOpen() && position > 0 && position < kMaxEntries && position == table.count())
        table.append();
    emit focusNameRequested();
}

bool PhoneEditor::NavInstClick(PhoneEditTexts texts)
{
    ExchangeGuard::Scope scope(ctx_.guard);
    if (!scope || !navInst_)
        return false;
    ctx_.directory.PhoneTable.insert(); // clears the fields
    emit editTextsRestored(texts);
    UpdateEditButtons(texts); // as the fields' change handlers do
    return okAction(texts);
}

void PhoneEditor::UndoClick()
{
    PhoneTableAfterScroll();
    setButtons(navInst_, navOk_, false);
}

void PhoneEditor::SpareEnter(PhoneEditTexts texts)
{
    if (ctx_.directory.PhoneTable.isOpen())
        NavOkClick(texts);
    emit focusNameRequested();
}

void PhoneEditor::navigatorInsert()
{
    emit focusNameRequested();
    ctx_.directory.PhoneTable.insert();
}

bool PhoneEditor::navigatorDelete()
{
    ExchangeGuard::Scope scope(ctx_.guard);
    if (!scope)
        return false;
    PhoneDirectory &dir = ctx_.directory;
    Table &table = dir.PhoneTable;
    if (!table.isOpen())
        return false;
    if (!ctx_.prompt.ask(QStringLiteral("Erase Current record"), UserPrompt::Kind::Confirmation)) {
        dir.DeleteConfirmed = false;
        return false;
    }
    dir.DeleteConfirmed = true;
    const QByteArray slot = table.field(PhoneFields::Addr);
    const ConnectionState &conn = ctx_.link.conn();
    // Only while the table matches the panel does the entry's slot hold this
    // entry: after Open or New it may hold somebody else.
    if (!slot.isEmpty() && dir.writeEachChangeTicked() && conn.LoggedOn && conn.DirectorySynced
        && DirectorySlots::isDirectorySlot(slot, conn.DirectoryEnd)) {
        ctx_.link.WriteRecord(slot, QByteArray()); // erases the slot; the read-back is not looked at
    }
    const bool removed = table.remove();
    // Removing an entry that was being added never asks the delete hook, so
    // the confirmation must not outlive this delete.
    dir.DeleteConfirmed = false;
    return removed;
}
