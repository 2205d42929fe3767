// The phone page's entry editor as a user meets it: the six fields with
// their hints, filters and checks, the buttons Insert, OK and Undo, and the
// navigator's insert and delete.
#include "DirectoryPanel.h"
#include "PhonePageFixture.h"
#include "support/AccessibleNames.h"

#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QToolButton>

namespace {

const QString kNameMessage = QStringLiteral("must enter a name or number\r\n"
                                            "without a space as a first character\r\n"
                                            "start characters may be:\r\n"
                                            " A-Z or a-z or 0-9");

struct PageEditFixture : PhonePageFixture
{
    DirectoryPanel panel;
    PageEditFixture() { panel.attach(h.port); }

    QString buttons() const
    {
        QString s;
        for (const char *name : {"NavInst", "NavOk", "Undo"})
            s += button(name)->isEnabled() ? QLatin1Char('+') : QLatin1Char('-');
        return s;
    }
    QString accessibleName(QWidget *w) const
    {
        return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
    }
    void paste(PhoneEdit *field, const QString &text)
    {
        field->setFocus();
        QApplication::clipboard()->setText(text);
        field->paste();
    }
};

} // namespace

TEST_F(PageEditFixture, FieldsCarryTheirLabelsHintsAndLengths)
{
    const struct
    {
        const char *name;
        const char *label;
        int length;
        const char *hint;
    } fields[] = {
        {"Namef", "Name", 16, "Client's Name|Client's Name (16 charactor max.)"},
        {"RoomNumber", "Room", 6, "Client's Room #|Room / Unit Number (6 digits max.)"},
        {"PHnumber", "Phone", 16, "Client's Phone #|Telephone Number (16 digits max.)"},
        {"Code1", "codes", 4, "Relay 1 Code|Relay 1 Gate Release Code (4 digits max.)"},
        {"Code2", nullptr, 4, "Relay 2 Code|Relay 2 Gate Release Code (4 digits max.)"},
        {"Spare", nullptr, 2, "Relay 3 Code|Relay 3 Gate Release Code (4 digits max.)"},
    };
    for (const auto &f : fields) {
        SCOPED_TRACE(f.name);
        PhoneEdit *e = edit(f.name);
        const QString hint = QLatin1String(f.hint);
        EXPECT_EQ(e->maxLength(), f.length);
        EXPECT_EQ(e->toolTip(), hint.section(QLatin1Char('|'), 0, 0));
        EXPECT_EQ(e->statusTip(), hint.section(QLatin1Char('|'), 1));
        EXPECT_EQ(QAccessible::queryAccessibleInterface(e)->text(QAccessible::Description), e->statusTip());
        EXPECT_FALSE(accessibleName(e).isEmpty());
        if (f.label) { // the label beside the field is its buddy
            const QList<QLabel *> labels = page.findChildren<QLabel *>();
            EXPECT_TRUE(std::any_of(labels.begin(), labels.end(),
                                    [&](QLabel *l) { return l->buddy() == e && l->text() == QLatin1String(f.label); }));
        }
    }
    EXPECT_EQ(listed(editsNotNamedByTheirLabel(page)), "");
    EXPECT_FALSE(edit("Spare")->isVisible());
    EXPECT_EQ(button("NavInst")->text(), QStringLiteral("Insert"));
    EXPECT_EQ(button("NavOk")->text(), QStringLiteral("OK"));
    EXPECT_EQ(button("Undo")->text(), QStringLiteral("Undo"));
    EXPECT_EQ(buttons(), QStringLiteral("---"));

    auto *wrtChg = child<QCheckBox>("WrtChg");
    EXPECT_EQ(wrtChg->text(), QStringLiteral("Write Each Change"));
    EXPECT_TRUE(wrtChg->isChecked());
    EXPECT_FALSE(wrtChg->isEnabled());
    // The navigator's insert is told apart from the page's Insert.
    EXPECT_EQ(listed(sameNamedControls(page)), "");
}

TEST_F(PageEditFixture, TypingFiltersDropRefusedKeysWhilePastedTextStays)
{
    typeInto(edit("PHnumber"), QStringLiteral("02 1-1*#pP:x9"));
    EXPECT_EQ(edit("PHnumber")->bytes(), QByteArray("0211*#pP:9"));
    typeInto(edit("RoomNumber"), QStringLiteral("1a2Z-3"));
    EXPECT_EQ(edit("RoomNumber")->bytes(), QByteArray("12-3"));
    typeInto(edit("Code1"), QStringLiteral("9q8"));
    EXPECT_EQ(edit("Code1")->bytes(), QByteArray("98"));
    typeInto(edit("Namef"), QStringLiteral("O'Brien-Smith x"));
    EXPECT_EQ(edit("Namef")->bytes(), QByteArray("O'Brien-Smith x"));

    // Only typed keys meet the filters; the checks see pasted text.
    paste(edit("Code2"), QStringLiteral("1b"));
    EXPECT_EQ(edit("Code2")->bytes(), QByteArray("1b"));
    // Typing stops at the field's length; a character beyond Latin-1 never goes in.
    edit("Namef")->clear();
    typeInto(edit("Namef"), QStringLiteral("Abcdefghijklmnopqrst"));
    EXPECT_EQ(edit("Namef")->bytes(), QByteArray("Abcdefghijklmnop"));
    edit("Namef")->clear();
    paste(edit("Namef"), QStringLiteral("Ab\u20AC"));
    EXPECT_EQ(edit("Namef")->text(), QString());
    paste(edit("Namef"), QStringLiteral("M\u00FCller"));
    EXPECT_EQ(edit("Namef")->bytes(), QByteArray("M\xFCller"));
}

TEST_F(PageEditFixture, EnterInTheNameStripsBlanksAndMovesOnOrRefusesWithTheMessage)
{
    typeInto(edit("Namef"), QStringLiteral("   Adams"));
    enter(edit("Namef"));
    EXPECT_EQ(edit("Namef")->bytes(), QByteArray("Adams"));
    EXPECT_EQ(focusedName(), QStringLiteral("RoomNumber"));
    EXPECT_TRUE(h.prompt.messages.isEmpty());

    edit("Namef")->clear();
    typeInto(edit("Namef"), QStringLiteral("-Adams"));
    enter(edit("Namef"));
    EXPECT_EQ(h.prompt.messages, QStringList{kNameMessage});
    EXPECT_EQ(focusedName(), QStringLiteral("Namef"));
    EXPECT_EQ(edit("Namef")->selectedText(), QStringLiteral("-Adams"));

    edit("Namef")->setText(QStringLiteral("   "));
    enter(edit("Namef"));
    EXPECT_EQ(h.prompt.messages.size(), 2);
    EXPECT_EQ(edit("Namef")->bytes(), QByteArray());
    EXPECT_EQ(focusedName(), QStringLiteral("Namef"));
}

TEST_F(PageEditFixture, EnterInTheRoomWantsANumber)
{
    edit("RoomNumber")->setFocus();
    enter(edit("RoomNumber"));
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("Must enter a number")});
    EXPECT_EQ(focusedName(), QStringLiteral("RoomNumber"));

    typeInto(edit("RoomNumber"), QStringLiteral("1-2"));
    enter(edit("RoomNumber"));
    EXPECT_EQ(h.prompt.messages.size(), 2);
    EXPECT_EQ(focusedName(), QStringLiteral("RoomNumber"));
    EXPECT_EQ(edit("RoomNumber")->selectedText(), QStringLiteral("1-2"));

    edit("RoomNumber")->setText(QStringLiteral("  42"));
    enter(edit("RoomNumber"));
    EXPECT_EQ(edit("RoomNumber")->bytes(), QByteArray("42"));
    EXPECT_EQ(focusedName(), QStringLiteral("PHnumber"));
    EXPECT_EQ(h.prompt.messages.size(), 2);

    // Enter walks on through the phone and the codes to OK.
    enter(edit("PHnumber"));
    EXPECT_EQ(focusedName(), QStringLiteral("Code1"));
    enter(edit("Code1"));
    EXPECT_EQ(focusedName(), QStringLiteral("Code2"));
}

TEST_F(PageEditFixture, LeavingACodeFieldWithoutANumberBringsTheFocusBack)
{
    paste(edit("Code1"), QStringLiteral(" 1-2"));
    QTest::keyClick(edit("Code1"), Qt::Key_Tab);
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("Numbers Only")});
    EXPECT_EQ(edit("Code1")->bytes(), QByteArray("1-2"));
    EXPECT_EQ(focusedName(), QStringLiteral("Code1"));

    // Two refused fields do not hand the focus to and fro.
    edit("Code2")->setText(QStringLiteral("x"));
    QTest::keyClick(edit("Code1"), Qt::Key_Tab);
    EXPECT_EQ(h.prompt.messages.size(), 2);
    EXPECT_EQ(focusedName(), QStringLiteral("Code1"));

    edit("Code1")->setText(QStringLiteral("  77"));
    edit("Code2")->setText(QStringLiteral(" 8"));
    QTest::keyClick(edit("Code1"), Qt::Key_Tab);
    EXPECT_EQ(edit("Code1")->bytes(), QByteArray("77"));
    EXPECT_EQ(focusedName(), QStringLiteral("Code2"));
    QTest::keyClick(edit("Code2"), Qt::Key_Tab);
    EXPECT_EQ(edit("Code2")->bytes(), QByteArray("8"));
    EXPECT_EQ(h.prompt.messages.size(), 2);

    paste(edit("PHnumber"), QStringLiteral("  0211"));
    QTest::keyClick(edit("PHnumber"), Qt::Key_Tab);
    EXPECT_EQ(edit("PHnumber")->bytes(), QByteArray("0211"));
}

TEST_F(PageEditFixture, NameAndRoomEnableTheButtonsAndAMoveDisablesThem)
{
    add("Adams Helen", "101", "1000");
    add("Baker Tom", "102", "1020");
    table.first();
    EXPECT_EQ(buttons(), QStringLiteral("---"));
    EXPECT_EQ(edit("Namef")->bytes(), QByteArray("Adams Helen"));
    EXPECT_EQ(child<QLabel>("recordno")->text(), QStringLiteral("1"));
    EXPECT_EQ(child<QLabel>("totrec")->text(), QStringLiteral("2"));

    typeInto(edit("PHnumber"), QStringLiteral("1"));
    EXPECT_EQ(buttons(), QStringLiteral("+++"));
    edit("RoomNumber")->clear(); // stays enabled
    EXPECT_EQ(buttons(), QStringLiteral("+++"));
    table.next();
    EXPECT_EQ(buttons(), QStringLiteral("---"));
    EXPECT_EQ(edit("RoomNumber")->bytes(), QByteArray("102"));
    EXPECT_EQ(child<QLabel>("recordno")->text(), QStringLiteral("2"));
}

TEST_F(PageEditFixture, OkStoresTheFieldsAndWritesTheEntryWhenEachChangeIsWritten)
{
    add("Adams Helen", "101", "1000");
    add("Baker Tom", "102", "1020");
    synced();
    table.first();
    edit("PHnumber")->clear();
    typeInto(edit("PHnumber"), QStringLiteral("*1#p"));
    QTest::mouseClick(button("NavOk"), Qt::LeftButton);

    EXPECT_EQ(table.value(0, PhoneFields::PHnumber), QByteArray("*1#p"));
    EXPECT_EQ(panel.records.value(128), QByteArray("101,,,,:1;<,Adams Helen"));
    EXPECT_EQ(buttons(), QStringLiteral("---"));
    EXPECT_EQ(focusedName(), QStringLiteral("Namef"));
    EXPECT_TRUE(h.prompt.messages.isEmpty());

    // The box unticked: stored, nothing goes to the panel.
    child<QCheckBox>("WrtChg")->click();
    EXPECT_FALSE(h.directory.writeEachChangeTicked());
    const int writes = panel.writes;
    typeInto(edit("Code1"), QStringLiteral("55"));
    QTest::mouseClick(button("NavOk"), Qt::LeftButton);
    EXPECT_EQ(table.value(0, PhoneFields::Code1), QByteArray("55"));
    EXPECT_EQ(panel.writes, writes);
}

TEST_F(PageEditFixture, OkOnTheLastEntryStartsAnEmptyOneAndEnterInSpareIsOk)
{
    add("Adams Helen", "101", "1000");
    table.first();
    typeInto(edit("Code2"), QStringLiteral("9"));
    QTest::mouseClick(button("NavOk"), Qt::LeftButton);
    EXPECT_EQ(table.value(0, PhoneFields::Code2), QByteArray("9"));
    EXPECT_EQ(table.position(), -1); // a new entry at the end
    EXPECT_EQ(child<QLabel>("recordno")->text(), QStringLiteral("-1"));
    EXPECT_EQ(edit("Namef")->bytes(), QByteArray());

    // Typing into the new entry and Enter in the hidden Spare stores it.
    typeInto(edit("Namef"), QStringLiteral("Baker Tom"));
    typeInto(edit("RoomNumber"), QStringLiteral("102"));
    typeInto(edit("Spare"), QStringLiteral("3"));
    enter(edit("Spare"));
    ASSERT_EQ(table.count(), 2);
    EXPECT_EQ(table.value(1, PhoneFields::Spare), QByteArray("3"));
    EXPECT_EQ(table.value(1, PhoneFields::Addr), QByteArray("1020"));
    EXPECT_EQ(focusedName(), QStringLiteral("Namef"));
}

TEST_F(PageEditFixture, InsertMakesANewEntryAfterTheDuplicateRoomQuestion)
{
    add("Adams Helen", "101", "1000");
    table.first();
    typeInto(edit("Namef"), QStringLiteral(" 2"));
    h.prompt.answers << false;
    QTest::mouseClick(button("NavInst"), Qt::LeftButton);
    EXPECT_EQ(h.prompt.questions, QStringList{QStringLiteral("RoomNumber exist, Continue?")});
    EXPECT_EQ(table.count(), 1);

    h.prompt.answers << true;
    QTest::mouseClick(button("NavInst"), Qt::LeftButton);
    ASSERT_EQ(table.count(), 2);
    EXPECT_EQ(table.value(1, PhoneFields::Name), QByteArray("Adams Helen 2"));
    EXPECT_EQ(table.value(1, PhoneFields::Addr), QByteArray("1020"));
    EXPECT_EQ(table.value(0, PhoneFields::Name), QByteArray("Adams Helen"));
}

TEST_F(PageEditFixture, UndoPutsTheStoredValuesBack)
{
    add("Adams Helen", "101", "1000", "0211");
    table.first();
    edit("Namef")->setText(QStringLiteral("Adams Hellen"));
    typeInto(edit("PHnumber"), QStringLiteral("9"));
    EXPECT_EQ(buttons(), QStringLiteral("+++"));
    QTest::mouseClick(button("Undo"), Qt::LeftButton);
    EXPECT_EQ(edit("Namef")->bytes(), QByteArray("Adams Helen"));
    EXPECT_EQ(edit("PHnumber")->bytes(), QByteArray("0211"));
    EXPECT_EQ(buttons(), QStringLiteral("---"));
    EXPECT_EQ(table.value(0, PhoneFields::Name), QByteArray("Adams Helen"));
}

TEST_F(PageEditFixture, TheNavigatorsDeleteAsksAndErasesTheSlotWhenEachChangeIsWritten)
{
    add("Adams Helen", "101", "1000");
    add("Baker Tom", "102", "1020");
    panel.store(129, "102,,,,,Baker Tom");
    synced();
    table.last();
    auto *del = child<QToolButton>("NavDelete");

    h.prompt.answers << false;
    QTest::mouseClick(del, Qt::LeftButton);
    EXPECT_EQ(h.prompt.questions, QStringList{QStringLiteral("Erase Current record")});
    EXPECT_EQ(table.count(), 2);
    EXPECT_TRUE(panel.records.contains(129));
    EXPECT_FALSE(h.directory.DeleteConfirmed);

    h.port.clearLog();
    h.prompt.answers << true;
    QTest::mouseClick(del, Qt::LeftButton);
    EXPECT_EQ(table.count(), 1);
    EXPECT_EQ(h.port.commands().value(0), QByteArray("w0129"));
    EXPECT_FALSE(panel.records.contains(129));
    EXPECT_EQ(edit("Namef")->bytes(), QByteArray("Adams Helen"));

    // Unticked: the entry goes, the panel is left alone.
    child<QCheckBox>("WrtChg")->click();
    h.port.clearLog();
    QTest::mouseClick(del, Qt::LeftButton);
    EXPECT_EQ(table.count(), 0);
    EXPECT_TRUE(h.port.commands().isEmpty());
}

TEST_F(PageEditFixture, TheNavigatorMovesAndItsInsertStartsAnEntryWithTheFocusInTheName)
{
    add("Adams Helen", "101", "1000");
    add("Baker Tom", "102", "1020");
    add("Chen Wei", "103", "1040");
    table.first();
    auto *first = child<QToolButton>("NavFirst");
    EXPECT_FALSE(first->isEnabled());
    QTest::mouseClick(child<QToolButton>("NavLast"), Qt::LeftButton);
    EXPECT_EQ(table.position(), 3);
    EXPECT_FALSE(child<QToolButton>("NavNext")->isEnabled());
    QTest::mouseClick(child<QToolButton>("NavPrior"), Qt::LeftButton);
    EXPECT_EQ(edit("Namef")->bytes(), QByteArray("Baker Tom"));
    QTest::mouseClick(first, Qt::LeftButton);
    EXPECT_EQ(table.position(), 1);

    QTest::mouseClick(child<QToolButton>("NavInsert"), Qt::LeftButton);
    EXPECT_EQ(table.position(), -1);
    EXPECT_EQ(edit("Namef")->bytes(), QByteArray());
    EXPECT_EQ(focusedName(), QStringLiteral("Namef"));
    typeInto(edit("Namef"), QStringLiteral("Aaron Bo"));
    typeInto(edit("RoomNumber"), QStringLiteral("100"));
    QTest::mouseClick(button("NavOk"), Qt::LeftButton);
    EXPECT_EQ(table.count(), 4);
    EXPECT_EQ(table.find(PhoneFields::Name, "Aaron Bo") >= 0, true);
}

TEST_F(PageEditFixture, WriteEachChangeFollowsTheDirectoryBothWays)
{
    auto *box = child<QCheckBox>("WrtChg");
    h.directory.setWriteEachChangeEnabled(true);
    EXPECT_TRUE(box->isEnabled());
    box->click();
    EXPECT_FALSE(h.directory.writeEachChangeTicked());
    h.directory.setWriteEachChangeTicked(true);
    EXPECT_TRUE(box->isChecked());
    h.directory.setWriteEachChangeEnabled(false);
    EXPECT_FALSE(box->isEnabled());
    EXPECT_TRUE(box->isChecked()); // the tick is the user's
}
