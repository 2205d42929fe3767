#pragma once

#include "directory/PhoneEditTexts.h"

#include <QObject>

struct DirectoryContext;
class Table;

// The editing logic of the phone page, below the widgets: storing the typed
// texts (OK, Insert), Undo, the navigator's insert and delete, the
// after-scroll fill of the fields and the enabling of Insert, OK and Undo.
//
// The page keeps six edit fields and copies their texts in (PhoneEditTexts)
// for every action; it shows what entryShown() hands out, enables its
// buttons by editButtonsChanged(), and calls UpdateEditButtons() from the
// fields' change handlers. Only one PhoneEditor should exist: it follows the
// phone table's cursor (also for the RFID page's fields).
//
// "Write Each Change": while the link is logged on, the box is ticked and
// the table matches the panel (DirectorySynced), OK writes the stored entry
// to its panel slot and the navigator's delete erases the slot. An entry
// that has no panel slot (the "p" placeholders of the RFID download) is
// given the first free slot by OK before it is written; its delete erases
// nothing on the panel. An entry holding a CR, LF or NUL is stored but not
// written (EntryWriteCheck).
class PhoneEditor : public QObject
{
    Q_OBJECT
public:
    static constexpr int kMaxEntries = 1000;

    explicit PhoneEditor(DirectoryContext &ctx, QObject *parent = nullptr);

    // The current entry as the fields and the record counter show it.
    static PhoneEntryView entryView(const Table &table);

    // After every move of the table's cursor (and from Undo and OK): hands
    // out the current entry and disables Insert, OK and Undo; does nothing
    // while ScrollSyncOn is clear.
    void PhoneTableAfterScroll();

    // From every change handler of the six fields: with the table open and
    // both Name and Room holding text, Insert, OK and Undo are enabled.
    void UpdateEditButtons(const PhoneEditTexts &texts);
    bool navInstEnabled() const { return navInst_; }
    bool navOkEnabled() const { return navOk_; }
    bool undoEnabled() const { return undo_; }

    // The texts are taken by value: the page's fields change under the
    // action when it shows entries.
    // OK: stores the typed texts into the current entry, or into a new entry
    // with a free slot while one is being added. True when stored. With Name
    // or Room empty it asks first; No stores nothing.
    bool NavOkClick(PhoneEditTexts texts);
    // Insert: the typed texts always become a new entry with a new slot.
    bool NavInstClick(PhoneEditTexts texts);
    // Undo: the fields show the current entry's stored values again.
    void UndoClick();
    // Enter in Spare: OK, then the focus goes to the name.
    void SpareEnter(PhoneEditTexts texts);

    // The navigator's insert button: the focus goes to the name and a new
    // empty entry starts at the current position.
    void navigatorInsert();
    // The navigator's delete button: asks "Erase Current record"; on Yes
    // erases the panel slot (Write Each Change) and deletes the entry. True
    // when the entry was deleted.
    bool navigatorDelete();

signals:
    // Fill the six edit fields, the RFID page's fields and the counter.
    void entryShown(const PhoneEntryView &view);
    // Insert puts the typed texts back after the new entry cleared them.
    void editTextsRestored(const PhoneEditTexts &texts);
    void editButtonsChanged(bool navInst, bool navOk, bool undo);
    void focusNameRequested();

private:
    bool okAction(const PhoneEditTexts &texts);
    bool storeEntry(const PhoneEditTexts &texts);
    void writeEntry(const QByteArray &slot, const QByteArray &text);
    void startEntryAfterLast();
    void setButtons(bool navInst, bool navOk, bool undo);
    bool writeEachChangeApplies() const;

    DirectoryContext &ctx_;
    bool navInst_ = false;
    bool navOk_ = false;
    bool undo_ = false;
};
