#pragma once

#include <QByteArray>

// The texts of the phone page's six edit fields, as bytes (Latin-1 in the
// widgets). The page copies them in before OK and Insert and out when an
// entry is shown.
struct PhoneEditTexts
{
    QByteArray Namef;
    QByteArray RoomNumber;
    QByteArray PHnumber;
    QByteArray Code1;
    QByteArray Code2;
    QByteArray Spare;

    bool operator==(const PhoneEditTexts &) const = default;
};

// What PhoneTableAfterScroll shows of the current entry: the six edit fields
// of the phone page, the three fields of the RFID page, and the record
// counter ("Record # " recordno "of" totrec). recordno is -1 while a new
// entry is being added and when the table is empty.
struct PhoneEntryView
{
    PhoneEditTexts edits;
    QByteArray rfName;
    QByteArray rfRoom;
    QByteArray rfID;
    int recordno = -1;
    int totrec = 0;

    bool operator==(const PhoneEntryView &) const = default;
};
