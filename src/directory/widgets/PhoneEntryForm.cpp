#include "directory/widgets/PhoneEntryForm.h"

#include "directory/DirectoryContext.h"
#include "directory/PhoneEditor.h"
#include "directory/PhoneFieldChecks.h"
#include "directory/PhoneFields.h"
#include "directory/widgets/PhoneEdit.h"
#include "directory/widgets/WidgetHint.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {
QLabel *buddyLabel(const char *caption, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(QLatin1String(caption), parent);
    label->setBuddy(buddy);
    return label;
}

// An edit as wide as `characters` of its font, plus its frame.
void fitWidth(PhoneEdit *edit, int characters)
{
    const QFontMetrics fm = edit->fontMetrics();
    edit->setFixedWidth(fm.horizontalAdvance(QString(characters, QLatin1Char('M'))) * 3 / 4 + 16);
}
} // namespace

PhoneEntryForm::PhoneEntryForm(DirectoryContext &ctx, PhoneEditor &editor, QWidget *parent)
    : QWidget(parent)
    , ctx_(ctx)
    , editor_(editor)
{
    setObjectName(QStringLiteral("PhoneEntry"));
    using namespace PhoneFields;
    Namef = makeEdit("Namef", kNameWidth, "Client's Name|Client's Name (16 charactor max.)");
    RoomNumber = makeEdit("RoomNumber", kRoomWidth, "Client's Room #|Room / Unit Number (6 digits max.)");
    PHnumber = makeEdit("PHnumber", kPhoneWidth, "Client's Phone #|Telephone Number (16 digits max.)");
    Code1 = makeEdit("Code1", kCodeWidth, "Relay 1 Code|Relay 1 Gate Release Code (4 digits max.)");
    Code2 = makeEdit("Code2", kCodeWidth, "Relay 2 Code|Relay 2 Gate Release Code (4 digits max.)");
    Spare = makeEdit("Spare", kSpareWidth, "Relay 3 Code|Relay 3 Gate Release Code (4 digits max.)");
    Spare->hide(); // stored and written to the panel, never shown
    Code2->setAccessibleName(QStringLiteral("codes, relay 2"));
    Spare->setAccessibleName(QStringLiteral("Relay 3 Code"));

    RoomNumber->setKeyFilter(PhoneFieldChecks::LetterKeyAllowed);
    PHnumber->setKeyFilter(PhoneFieldChecks::PHnumberKeyAllowed);
    Code1->setKeyFilter(PhoneFieldChecks::LetterKeyAllowed);
    Code2->setKeyFilter(PhoneFieldChecks::LetterKeyAllowed);
    Spare->setKeyFilter(PhoneFieldChecks::LetterKeyAllowed);

    fitWidth(Namef, kNameWidth);
    fitWidth(RoomNumber, kRoomWidth + 2);
    fitWidth(PHnumber, kPhoneWidth);
    fitWidth(Code1, kCodeWidth + 1);
    fitWidth(Code2, kCodeWidth + 1);

    NavOk = makeButton("NavOk", "OK");
    NavInst = makeButton("NavInst", "Insert");
    Undo = makeButton("Undo", "Undo");

    auto *form = new QGridLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->setHorizontalSpacing(6);
    form->setVerticalSpacing(4);
    form->addWidget(buddyLabel("Name", Namef, this), 0, 0);
    form->addWidget(Namef, 0, 1, 1, 2, Qt::AlignLeft);
    form->addWidget(buddyLabel("Room", RoomNumber, this), 1, 0);
    form->addWidget(RoomNumber, 1, 1, 1, 2, Qt::AlignLeft);
    form->addWidget(buddyLabel("Phone", PHnumber, this), 2, 0);
    form->addWidget(PHnumber, 2, 1, 1, 2, Qt::AlignLeft);
    form->addWidget(buddyLabel("codes", Code1, this), 3, 0);
    auto *codes = new QHBoxLayout;
    codes->setSpacing(6);
    codes->addWidget(Code1);
    codes->addWidget(Code2);
    codes->addWidget(Spare);
    codes->addStretch(1);
    form->addLayout(codes, 3, 1, 1, 2);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(NavOk);
    buttons->addWidget(NavInst);
    buttons->addWidget(Undo);
    buttons->addStretch(1);
    form->addLayout(buttons, 4, 0, 1, 3);

    auto *counter = new QHBoxLayout;
    counter->setSpacing(4);
    recordno = new QLabel(this);
    recordno->setObjectName(QStringLiteral("recordno"));
    // The counter reads out the numbers it shows; the role is the description.
    recordno->setAccessibleDescription(QStringLiteral("Record number"));
    totrec = new QLabel(this);
    totrec->setObjectName(QStringLiteral("totrec"));
    totrec->setAccessibleDescription(QStringLiteral("Record count"));
    counter->addWidget(new QLabel(QStringLiteral("Record # "), this));
    counter->addWidget(recordno);
    counter->addWidget(new QLabel(QStringLiteral("of"), this));
    counter->addWidget(totrec);
    counter->addStretch(1);
    form->addLayout(counter, 5, 0, 1, 3);
    form->setColumnStretch(2, 1);

    // The page sets the tab order, which Enter follows: the fields in the
    // order above, then OK.

    // NamefChange, RoomNumberChange, PHnumberChange, code1Change,
    // Code2Change, SpareChange: each runs UpdateEditButtons.
    for (PhoneEdit *edit : {Namef, RoomNumber, PHnumber, Code1, Code2, Spare})
        connect(edit, &QLineEdit::textChanged, this, &PhoneEntryForm::fieldChanged);

    using namespace PhoneFieldChecks;
    connect(Namef, &PhoneEdit::enterPressed, this,
            [this] { enterMovesOnUnlessRefused(Namef, NamefEnter(Namef->bytes())); });
    connect(RoomNumber, &PhoneEdit::enterPressed, this,
            [this] { enterMovesOnUnlessRefused(RoomNumber, RoomNumberEnter(RoomNumber->bytes())); });
    for (PhoneEdit *edit : {PHnumber, Code1, Code2})
        connect(edit, &PhoneEdit::enterPressed, edit, &PhoneEdit::moveFocusOn);
    connect(Spare, &PhoneEdit::enterPressed, this, [this] { editor_.SpareEnter(texts()); });

    connect(PHnumber, &PhoneEdit::exited, this, [this] { exitCheck(PHnumber, PHnumberExit(PHnumber->bytes())); });
    for (PhoneEdit *edit : {Code1, Code2, Spare})
        connect(edit, &PhoneEdit::exited, this, [this, edit] { exitCheck(edit, CodeExit(edit->bytes())); });

    connect(NavOk, &QPushButton::clicked, this, [this] { editor_.NavOkClick(texts()); });
    connect(NavInst, &QPushButton::clicked, this, [this] { editor_.NavInstClick(texts()); });
    connect(Undo, &QPushButton::clicked, this, [this] { editor_.UndoClick(); });

    connect(&editor_, &PhoneEditor::entryShown, this, &PhoneEntryForm::showEntry);
    connect(&editor_, &PhoneEditor::editTextsRestored, this, &PhoneEntryForm::showTexts);
    connect(&editor_, &PhoneEditor::focusNameRequested, this, &PhoneEntryForm::focusName);
    connect(&editor_, &PhoneEditor::editButtonsChanged, this, [this](bool inst, bool ok, bool undo) {
        NavInst->setEnabled(inst);
        NavOk->setEnabled(ok);
        Undo->setEnabled(undo);
    });
    NavInst->setEnabled(editor_.navInstEnabled());
    NavOk->setEnabled(editor_.navOkEnabled());
    Undo->setEnabled(editor_.undoEnabled());
    showEntry(PhoneEditor::entryView(ctx_.directory.PhoneTable));
}

PhoneEdit *PhoneEntryForm::makeEdit(const char *name, int maxLength, const char *hint)
{
    auto *edit = new PhoneEdit(name, maxLength, this);
    WidgetHint::apply(edit, QLatin1String(hint));
    return edit;
}

QPushButton *PhoneEntryForm::makeButton(const char *name, const char *caption)
{
    auto *button = new QPushButton(QLatin1String(caption), this);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(true); // Enter on the focused button clicks it
    return button;
}

PhoneEditTexts PhoneEntryForm::texts() const
{
    return {Namef->bytes(), RoomNumber->bytes(), PHnumber->bytes(), Code1->bytes(), Code2->bytes(), Spare->bytes()};
}

void PhoneEntryForm::focusName()
{
    Namef->setFocus(Qt::OtherFocusReason);
}

// PhoneTableAfterScroll's part of the page, in its order of the fields.
void PhoneEntryForm::showEntry(const PhoneEntryView &view)
{
    RoomNumber->setBytes(view.edits.RoomNumber);
    Namef->setBytes(view.edits.Namef);
    PHnumber->setBytes(view.edits.PHnumber);
    Code1->setBytes(view.edits.Code1);
    Code2->setBytes(view.edits.Code2);
    Spare->setBytes(view.edits.Spare);
    recordno->setNum(view.recordno);
    totrec->setNum(view.totrec);
}

void PhoneEntryForm::showTexts(const PhoneEditTexts &t)
{
    Namef->setBytes(t.Namef);
    RoomNumber->setBytes(t.RoomNumber);
    PHnumber->setBytes(t.PHnumber);
    Code1->setBytes(t.Code1);
    Code2->setBytes(t.Code2);
    Spare->setBytes(t.Spare);
}

void PhoneEntryForm::fieldChanged()
{
    editor_.UpdateEditButtons(texts());
}

void PhoneEntryForm::applyCheck(PhoneEdit *edit, const FieldCheck &check)
{
    edit->setBytes(check.text);
    if (check.updateButtons)
        editor_.UpdateEditButtons(texts());
    if (!check.message.isEmpty())
        ctx_.prompt.message(check.message);
    if (check.focusStays) {
        edit->setFocus(Qt::OtherFocusReason);
        if (check.selectAll)
            edit->selectAll();
    }
}

// NamefKeyPress and RoomNumberKeyPress on Enter.
void PhoneEntryForm::enterMovesOnUnlessRefused(PhoneEdit *edit, const FieldCheck &check)
{
    applyCheck(edit, check);
    if (!check.focusStays)
        edit->moveFocusOn();
}

// code1Exit, Code2Exit, SpareExit, PHnumberExit. Putting the focus back
// takes it from the field it went to; that field's own exit check is not
// run then, so two refused fields cannot hand the focus to and fro.
void PhoneEntryForm::exitCheck(PhoneEdit *edit, const FieldCheck &check)
{
    if (checking_)
        return;
    checking_ = true;
    applyCheck(edit, check);
    checking_ = false;
}
