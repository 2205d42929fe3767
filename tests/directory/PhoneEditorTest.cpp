#include "DirectoryPanel.h"
#include "directory/DirectorySlots.h"
#include "directory/PhoneEditor.h"
#include "directory/PhoneFields.h"
#include "support/AppHarness.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

constexpr qint32 k100Model = 0x1D00;
const QString kDuplicate = QStringLiteral("RoomNumber exist, Continue?");

PhoneEditTexts typed(const QByteArray &name, const QByteArray &room, const QByteArray &phone = {},
                     const QByteArray &code1 = {}, const QByteArray &code2 = {}, const QByteArray &spare = {})
{
    return {name, room, phone, code1, code2, spare};
}

// The phone page as far as the editor sees it: six texts that follow
// entryShown and editTextsRestored, and change handlers that run
// UpdateEditButtons.
struct FakePage
{
    PhoneEditTexts fields;
    PhoneEntryView shown;
    int shownCount = 0;
    bool inst = false, ok = false, undo = false;

    void attach(PhoneEditor &editor)
    {
        QObject::connect(&editor, &PhoneEditor::entryShown, [this, &editor](const PhoneEntryView &v) {
            shown = v;
            ++shownCount;
            type(editor, v.edits);
        });
        QObject::connect(&editor, &PhoneEditor::editTextsRestored,
                         [this, &editor](const PhoneEditTexts &t) { type(editor, t); });
        QObject::connect(&editor, &PhoneEditor::editButtonsChanged, [this](bool i, bool o, bool u) {
            inst = i;
            ok = o;
            undo = u;
        });
    }
    void type(PhoneEditor &editor, const PhoneEditTexts &t)
    {
        fields = t;
        editor.UpdateEditButtons(fields);
    }
};

struct EditorFixture : ::testing::Test
{
    AppHarness h;
    DirectoryPanel panel;
    PhoneEditor editor{h.ctx};
    FakePage page;
    Table &table = h.directory.PhoneTable;

    EditorFixture()
    {
        panel.attach(h.port);
        page.attach(editor);
    }
    void add(const QByteArray &name, const QByteArray &room, const QByteArray &addr)
    {
        table.appendRecord({name, room, "", "", "", "", "", addr});
    }
    // Logged on after a full transfer, "Write Each Change" ticked.
    void synced(qint32 directoryEnd = 0x9000)
    {
        h.logOn(directoryEnd);
        h.link.conn().DirectorySynced = true;
        h.directory.setWriteEachChangeEnabled(true);
    }
    // Types into the fields (enabling the buttons) and clicks OK.
    bool ok(const PhoneEditTexts &t)
    {
        page.type(editor, t);
        return editor.NavOkClick(t);
    }
    QList<QByteArray> column(const char *field) const
    {
        QList<QByteArray> out;
        for (int r = 0; r < table.count(); ++r)
            out << table.value(r, field);
        return out;
    }
};

} // namespace

TEST_F(EditorFixture, TypingNameAndRoomEnablesTheButtonsAndMovingDisablesThem)
{
    add("A", "1", "1000");
    table.first();
    EXPECT_FALSE(page.ok);
    page.type(editor, typed("New", ""));
    EXPECT_FALSE(page.ok);
    page.type(editor, typed("New", "7"));
    EXPECT_TRUE(page.inst && page.ok && page.undo);
    page.type(editor, typed("New", "")); // clearing the room leaves them enabled
    EXPECT_TRUE(page.ok);
    table.first();
    EXPECT_FALSE(page.inst || page.ok || page.undo);
    EXPECT_EQ(page.fields, typed("A", "1"));
}

TEST_F(EditorFixture, AfterScrollShowsTheEntryAndCounterOnlyWhileScrollSyncIsOn)
{
    table.appendRecord({"Name", "12", "*1", "1", "2", "3", "0A0B0C0D0E", "1000"});
    table.appendRecord({"Other", "13"});
    table.first();
    EXPECT_EQ(page.shown.edits, typed("Name", "12", "*1", "1", "2", "3"));
    EXPECT_EQ(page.shown.rfID, QByteArray("0A0B0C0D0E"));
    EXPECT_EQ(page.shown.rfName, QByteArray("Name"));
    EXPECT_EQ(page.shown.recordno, 1);
    EXPECT_EQ(page.shown.totrec, 2);

    const int before = page.shownCount;
    h.directory.ScrollSyncOn = false;
    table.next();
    EXPECT_EQ(page.shownCount, before);
    EXPECT_EQ(page.shown.recordno, 1);
    h.directory.ScrollSyncOn = true;

    table.append();
    EXPECT_EQ(page.shown.recordno, -1); // a new entry being typed
    EXPECT_EQ(page.shown.edits, PhoneEditTexts{});
}

TEST_F(EditorFixture, OkOnAnEntryStoresItAndAsksOnlyAboutAnotherEntrysRoom)
{
    add("A", "1", "1000");
    add("B", "2", "1020");
    table.first();
    EXPECT_TRUE(ok(typed("A changed", "1", "*1#p", "12", "34", "5")));
    EXPECT_TRUE(h.prompt.questions.isEmpty());
    EXPECT_EQ(table.value(0, "Name"), QByteArray("A changed"));
    EXPECT_EQ(table.value(0, "PHnumber"), QByteArray("*1#p")); // stored as typed
    EXPECT_EQ(table.value(0, "spare"), QByteArray("5"));
    EXPECT_FALSE(page.ok);
    EXPECT_EQ(page.fields.Namef, QByteArray("A changed"));

    h.prompt.answers = {false};
    EXPECT_FALSE(ok(typed("A again", "2")));
    EXPECT_EQ(h.prompt.questions, QStringList{kDuplicate});
    EXPECT_EQ(table.value(0, "Name"), QByteArray("A changed"));
    EXPECT_EQ(table.position(), 1);
    EXPECT_TRUE(h.directory.ScrollSyncOn);

    h.prompt.answers = {true};
    EXPECT_TRUE(ok(typed("A again", "2")));
    EXPECT_EQ(column("RoomNumber"), (QList<QByteArray>{"2", "2"}));
    EXPECT_TRUE(h.port.commands().isEmpty()); // not logged on: nothing to the panel
}

TEST_F(EditorFixture, ANewEntryTakesAFreeSlotAndNoToTheDuplicateKeepsItBeingAdded)
{
    add("A", "1", "1000");
    add("C", "3", "1040");
    table.append();
    h.prompt.answers = {false};
    EXPECT_FALSE(ok(typed("Dup", "1")));
    EXPECT_EQ(table.state(), Table::State::Insert);
    EXPECT_EQ(table.count(), 2);

    EXPECT_TRUE(ok(typed("B", "2")));
    EXPECT_EQ(column("Addr"), (QList<QByteArray>{"1000", "1020", "1040"})); // slot order
    EXPECT_EQ(table.value(1, "Name"), QByteArray("B"));
    EXPECT_EQ(table.position(), 2);
    EXPECT_EQ(page.shown.recordno, 2);
}

TEST_F(EditorFixture, TheThousandthEntryIsStoredAndTheNextRefused)
{
    for (int i = 0; i < 999; ++i)
        add("N", QByteArray::number(i), DirectorySlots::text(0x1000 + 0x20 * i));
    table.append();
    EXPECT_TRUE(ok(typed("Last", "5000")));
    EXPECT_EQ(table.count(), 1000);
    EXPECT_TRUE(h.prompt.messages.isEmpty());

    table.append();
    EXPECT_FALSE(ok(typed("Too many", "5001")));
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("Phone list limit=1000 max.")});
    EXPECT_EQ(table.count(), 1000);
}

TEST_F(EditorFixture, The106thEntryOnA100ModelGetsNoSlotAndStaysBeingAdded)
{
    h.logOn(k100Model);
    for (qint32 a = 0x1000; a <= k100Model; a += 0x20)
        add("N", QByteArray::number(a), DirectorySlots::text(a));
    table.last();
    table.append();
    EXPECT_FALSE(ok(typed("106th", "9999")));
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("Could Not Assign a new addr")});
    EXPECT_EQ(table.count(), 105);
    EXPECT_EQ(table.position(), -1);
    EXPECT_EQ(page.fields.Namef, QByteArray("106th")); // the typed text stays
}

TEST_F(EditorFixture, WriteEachChangeWritesTheStoredEntryToItsSlot)
{
    synced();
    add("A", "1", "1000");
    add("B", "2", "1020");
    table.first();
    EXPECT_TRUE(ok(typed("A", "1", "*1#p", "12", "", "3")));
    EXPECT_EQ(h.port.commands().value(0), QByteArray("w0128") + "1,12,,3,:1;<,A");
    EXPECT_EQ(h.port.commands().value(1), QByteArray("r0128"));
    EXPECT_EQ(panel.records.value(128), QByteArray("1,12,,3,:1;<,A"));
    EXPECT_TRUE(h.prompt.messages.isEmpty());

    h.port.clearLog();
    h.directory.setWriteEachChangeTicked(false);
    table.first();
    EXPECT_TRUE(ok(typed("A2", "1")));
    EXPECT_TRUE(h.port.commands().isEmpty());

    h.directory.setWriteEachChangeTicked(true);
    h.link.conn().DirectorySynced = false;
    table.first();
    EXPECT_TRUE(ok(typed("A3", "1")));
    EXPECT_TRUE(h.port.commands().isEmpty());
}

TEST_F(EditorFixture, ARoomThatIsNotANumberIsStoredAndWrittenAsZero)
{
    synced();
    add("A", "1", "1000");
    table.first();
    EXPECT_TRUE(ok(typed("A", "12a")));
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("Must use Numeric digits in\r\nRoomNumber & Codes fields")});
    EXPECT_EQ(table.value(0, "RoomNumber"), QByteArray("0"));
    EXPECT_EQ(panel.records.value(128), QByteArray("0,,,,,A"));
}

TEST_F(EditorFixture, FiveRefusedWritesSayFailedToWriteAndKeepTheEntry)
{
    synced();
    add("A", "1", "1000");
    panel.refusing = {128};
    table.first();
    EXPECT_TRUE(ok(typed("A new", "1")));
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("Failed to Write")});
    EXPECT_EQ(h.port.commands().count(QByteArray("w01281,,,,,A new")), 5);
    EXPECT_EQ(table.value(0, "Name"), QByteArray("A new"));
}

TEST_F(EditorFixture, AnRfidPlaceholderEntryGetsAFreeSlotBeforeItIsWritten)
{
    synced(k100Model);
    add("A", "1", "1000");
    add("", "2", "p2");
    table.last();
    EXPECT_TRUE(ok(typed("From RFID", "2")));
    EXPECT_EQ(column("Addr"), (QList<QByteArray>{"1000", "1020"}));
    EXPECT_EQ(panel.records.value(129), QByteArray("2,,,,,From RFID"));
    for (const QByteArray &c : h.port.commands())
        EXPECT_FALSE(c.startsWith("w0000")) << c.constData();

    // Without a free slot nothing is written and the user is told.
    h.port.clearLog();
    for (qint32 a = 0x1040; a <= k100Model; a += 0x20)
        add("N", "9", DirectorySlots::text(a));
    add("", "3", "p3");
    table.locate("Addr", "p3");
    EXPECT_TRUE(ok(typed("No slot", "3")));
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("Could Not Assign a new addr")});
    EXPECT_TRUE(h.port.commands().isEmpty());
    EXPECT_EQ(table.value(table.find("Name", "No slot"), "Addr"), QByteArray("p3"));
}

TEST_F(EditorFixture, OkOnTheLastEntryStartsAnEmptyEntryThatMovingUpDrops)
{
    add("A", "1", "1000");
    add("B", "2", "1020");
    table.last();
    EXPECT_TRUE(ok(typed("B", "2")));
    EXPECT_EQ(table.state(), Table::State::Insert);
    EXPECT_EQ(table.position(), -1);
    EXPECT_EQ(page.fields, PhoneEditTexts{});
    table.prior();
    EXPECT_EQ(table.count(), 2);
    EXPECT_EQ(page.fields.Namef, QByteArray("A"));
}

TEST_F(EditorFixture, OkWhileLoadingOrDisabledOnlyStartsTheEntryAfterTheLast)
{
    add("A", "1", "1000");
    table.last();
    QSignalSpy focus(&editor, &PhoneEditor::focusNameRequested);
    EXPECT_FALSE(editor.NavOkClick(typed("X", "9"))); // OK is disabled
    EXPECT_EQ(table.value(0, "Name"), QByteArray("A"));
    EXPECT_EQ(table.position(), -1);
    EXPECT_EQ(focus.size(), 1);

    table.first();
    page.type(editor, typed("X", "9"));
    h.directory.TableLoading = true;
    EXPECT_FALSE(editor.NavOkClick(typed("X", "9")));
    EXPECT_EQ(table.value(0, "Name"), QByteArray("A"));
}

TEST_F(EditorFixture, InsertMakesASecondEntryWithANewSlot)
{
    add("A", "1", "1000");
    table.first();
    page.type(editor, typed("A", "1", "555"));
    EXPECT_TRUE(editor.NavInstClick(page.fields));
    EXPECT_EQ(h.prompt.questions, QStringList{kDuplicate});
    EXPECT_EQ(column("Addr"), (QList<QByteArray>{"1000", "1020"}));
    EXPECT_EQ(table.value(1, "PHnumber"), QByteArray("555"));
    EXPECT_EQ(table.value(0, "PHnumber"), QByteArray());
}

TEST_F(EditorFixture, UndoShowsTheStoredValuesAndDisablesTheButtons)
{
    add("A", "1", "1000");
    table.first();
    page.type(editor, typed("Typed", "77"));
    editor.UndoClick();
    EXPECT_EQ(page.fields, typed("A", "1"));
    EXPECT_FALSE(page.inst || page.ok || page.undo);

    h.directory.ScrollSyncOn = false;
    page.type(editor, typed("Typed", "77"));
    editor.UndoClick();
    EXPECT_EQ(page.fields.Namef, QByteArray("Typed"));
    EXPECT_FALSE(page.undo);
    EXPECT_TRUE(page.ok);
}

TEST_F(EditorFixture, DeleteAsksAndErasesThePanelSlotWithWriteEachChange)
{
    synced();
    panel.store(129, "2,,,,,B");
    add("A", "1", "1000");
    add("B", "2", "1020");
    add("C", "3", "p4");
    table.moveTo(1);

    h.prompt.answers = {false};
    EXPECT_FALSE(editor.navigatorDelete());
    EXPECT_EQ(table.count(), 3);
    EXPECT_TRUE(h.port.commands().isEmpty());
    EXPECT_FALSE(h.directory.DeleteConfirmed);

    EXPECT_TRUE(editor.navigatorDelete());
    EXPECT_EQ(h.prompt.questions, (QStringList{"Erase Current record", "Erase Current record"}));
    EXPECT_EQ(h.port.commands().value(0), QByteArray("w0129"));
    EXPECT_FALSE(panel.records.contains(129));
    EXPECT_EQ(column("Name"), (QList<QByteArray>{"A", "C"}));
    EXPECT_FALSE(h.directory.DeleteConfirmed);

    // A placeholder has no slot on the panel: the entry goes, nothing is written.
    h.port.clearLog();
    table.last();
    EXPECT_TRUE(editor.navigatorDelete());
    EXPECT_TRUE(h.port.commands().isEmpty());
    EXPECT_EQ(column("Name"), QList<QByteArray>{"A"});
}

TEST_F(EditorFixture, DeleteWithoutWriteEachChangeOnlyRemovesAndOtherDeletesAreRefused)
{
    h.logOn();
    h.directory.setWriteEachChangeTicked(false);
    add("A", "1", "1000");
    add("B", "2", "1020");
    table.first();
    EXPECT_TRUE(editor.navigatorDelete());
    EXPECT_TRUE(h.port.commands().isEmpty());
    EXPECT_EQ(table.count(), 1);

    EXPECT_FALSE(table.remove()); // the grid's own delete key
    EXPECT_EQ(table.count(), 1);
    EXPECT_TRUE(h.prompt.messages.isEmpty());

    // Deleting an entry being added leaves no confirmation behind.
    table.append();
    EXPECT_TRUE(editor.navigatorDelete());
    EXPECT_FALSE(h.directory.DeleteConfirmed);
    table.first();
    EXPECT_FALSE(table.remove());
}

// Without a full transfer in this session (a list opened from a file, say)
// the entry's slot may hold somebody else on the panel.
TEST_F(EditorFixture, DeleteErasesOnlyWhileTheTableMatchesThePanelAndNeverOutsideTheDirectory)
{
    h.logOn(k100Model); // logged on, box ticked, no download
    panel.store(128, "7,,,,,Somebody else");
    add("A", "1", "1000");
    add("Odd", "2", "0020");
    table.first();
    EXPECT_TRUE(editor.navigatorDelete());
    EXPECT_TRUE(h.port.commands().isEmpty());
    EXPECT_EQ(panel.records.value(128), QByteArray("7,,,,,Somebody else"));

    h.link.conn().DirectorySynced = true;
    table.first();
    EXPECT_TRUE(editor.navigatorDelete());
    EXPECT_TRUE(h.port.commands().isEmpty()); // record 0001 holds the parameters
}

TEST_F(EditorFixture, AWriteWaitsForARunningExchange)
{
    add("A", "1", "1000");
    table.first();
    page.type(editor, typed("B", "1"));
    ExchangeGuard::Scope busy(h.guard);
    EXPECT_FALSE(editor.NavOkClick(page.fields));
    EXPECT_FALSE(editor.navigatorDelete());
    EXPECT_EQ(table.value(0, "Name"), QByteArray("A"));
    EXPECT_TRUE(h.prompt.questions.isEmpty());
}

// The buttons stay enabled when Name or Room is cleared after typing.
TEST_F(EditorFixture, AnEntryWithoutNameOrRoomIsStoredOnlyAfterAYes)
{
    synced();
    panel.store(128, "1,,,,,A");
    add("A", "1", "1000");
    table.first();
    page.type(editor, typed("A", "1"));
    h.prompt.answers = {false, false};
    EXPECT_FALSE(editor.NavOkClick(typed("", "1")));
    EXPECT_FALSE(editor.NavOkClick(typed("A", " ")));
    const QString question = QStringLiteral("Name or RoomNumber is empty,\r\nStore this entry anyway?");
    EXPECT_EQ(h.prompt.questions, QStringList(2, question));
    EXPECT_EQ(table.value(0, "Name"), QByteArray("A"));
    EXPECT_TRUE(h.port.commands().isEmpty());
    EXPECT_TRUE(h.directory.ScrollSyncOn);

    EXPECT_TRUE(editor.NavOkClick(typed("", "1"))); // Yes: as before
    EXPECT_EQ(panel.records.value(128), QByteArray("1,,,,,"));
}

TEST_F(EditorFixture, AnEntryHoldingALineBreakIsStoredButNotWritten)
{
    synced();
    add("A", "1", "1000");
    table.first();
    EXPECT_TRUE(ok(typed(QByteArray("Smith\rJ"), "1", "0211")));
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("Cannot write an entry to the Corvalen:\r\n"
                                                            "Name \"Smith%cJ\", RoomNumber \"1\"\r\n"
                                                            "Name \"Smith%cJ\" holds a CR, LF or NUL character.\r\n"
                                                            "The entry is stored, but not written.")});
    EXPECT_TRUE(h.port.commands().isEmpty());
    EXPECT_EQ(table.value(0, "Name"), QByteArray("Smith\rJ"));

    h.prompt.messages.clear();
    table.first();
    EXPECT_TRUE(ok(typed("Smith", "1", "", "12", "34", QByteArray("5\0", 2))));
    EXPECT_TRUE(h.prompt.messages.value(0).contains(QStringLiteral("spare \"5%0\" holds")));
    EXPECT_TRUE(h.port.commands().isEmpty());
}
