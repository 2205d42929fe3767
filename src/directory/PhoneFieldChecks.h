#pragma once

#include <QByteArray>
#include <QString>

// The checks of the phone page's edit fields, as plain functions: each takes
// the field's text and says what the field holds afterwards, what to show,
// and where the focus goes. The page applies the result to its widgets.
struct FieldCheck
{
    QByteArray text;           // the field's text afterwards
    QString message;           // shown when not empty
    bool focusStays = false;   // the focus stays in (or returns to) the field
    bool selectAll = false;    // the field's whole text is selected
    bool updateButtons = false; // UpdateEditButtons runs
};

namespace PhoneFieldChecks {

// Enter in Namef: leading blanks go; the name must then start with a letter
// or a digit, else the four-line message.
FieldCheck NamefEnter(const QByteArray &text);
// Enter in RoomNumber: "Must enter a number" for an empty field or a text
// that is not made of decimal digits only (leading blanks are removed
// first): a sign or a blank inside would be lost on the panel.
FieldCheck RoomNumberEnter(const QByteArray &text);
// Leaving Code1, Code2 or Spare: leading blanks go; "Numbers Only" for a
// text that is not made of decimal digits only.
FieldCheck CodeExit(const QByteArray &text);
// Leaving PHnumber: leading blanks go.
FieldCheck PHnumberExit(const QByteArray &text);

// Typing filters. Keys as characters: Enter is CR, Backspace is 8.
// PHnumber takes only "0"-"9", "p", "P", "*", "#", ":", Enter and Backspace.
bool PHnumberKeyAllowed(char key);
// RoomNumber, Code1, Code2 and Spare refuse the letters A-Z and a-z.
bool LetterKeyAllowed(char key);

} // namespace PhoneFieldChecks
