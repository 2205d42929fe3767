#pragma once

#include "rfid/RfidPageState.h"

#include <QGroupBox>

class QLabel;
class QLineEdit;
class QPushButton;

// The current directory entry on the RFID page: rfName and rfRoom
// (read-only), the code rfID (typed or read from a tag, at most 10
// characters), "Up Date" (Button1), "Del" (Button2) and the red note
// Lc_exist naming the room that already holds a code. The edits and the
// note follow the page state; what is typed into rfID goes back to it.
class RfidEntryBox : public QGroupBox
{
    Q_OBJECT
public:
    explicit RfidEntryBox(RfidPageState &state, QWidget *parent = nullptr);

    QPushButton *upDateButton() const { return Button1; }
    QPushButton *delButton() const { return Button2; }

private:
    void showCodeOwner(bool visible, const QString &caption);

    RfidPageState &state_;
    QLineEdit *rfName;
    QLineEdit *rfRoom;
    QLineEdit *rfID;
    QPushButton *Button1;
    QPushButton *Button2;
    QLabel *Lc_exist;
};
