#pragma once

#include "directory/PhoneEditTexts.h"

#include <QWidget>

struct DirectoryContext;
struct FieldCheck;
class PhoneEdit;
class PhoneEditor;
class QLabel;
class QPushButton;

// The entry editor of the phone page: the six edit fields Namef,
// RoomNumber, PHnumber, Code1, Code2 and Spare (never shown) with their
// labels, hints, typing filters and checks; the buttons Insert (NavInst),
// OK (NavOk) and Undo; and the record counter "Record # " recordno "of"
// totrec. The fields follow the phone editor (the current entry, the texts
// Insert puts back, the buttons' enabling); every change of a field runs
// UpdateEditButtons.
class PhoneEntryForm : public QWidget
{
    Q_OBJECT
public:
    PhoneEntryForm(DirectoryContext &ctx, PhoneEditor &editor, QWidget *parent = nullptr);

    // The six texts as the editor takes them.
    PhoneEditTexts texts() const;
    void focusName();

    PhoneEdit *Namef;
    PhoneEdit *RoomNumber;
    PhoneEdit *PHnumber;
    PhoneEdit *Code1;
    PhoneEdit *Code2;
    PhoneEdit *Spare;
    QPushButton *NavInst;
    QPushButton *NavOk;
    QPushButton *Undo;
    QLabel *recordno;
    QLabel *totrec;

private:
    PhoneEdit *makeEdit(const char *name, int maxLength, const char *hint);
    QPushButton *makeButton(const char *name, const char *caption);
    void showEntry(const PhoneEntryView &view);
    void showTexts(const PhoneEditTexts &texts);
    void fieldChanged();
    // Puts a check's result into the field: its text, the message, the focus.
    void applyCheck(PhoneEdit *edit, const FieldCheck &check);
    void enterMovesOnUnlessRefused(PhoneEdit *edit, const FieldCheck &check);
    void exitCheck(PhoneEdit *edit, const FieldCheck &check);

    DirectoryContext &ctx_;
    PhoneEditor &editor_;
    bool checking_ = false;
};
