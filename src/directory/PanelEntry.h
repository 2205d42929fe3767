#pragma once

#include <QByteArray>

// One directory entry as it travels on the serial line.
//
// Read (a line of the directory read, characters counted from 1): the slot
// address in 1-4, a separator in 5 that is not looked at, then RoomNumber
// (6), Code1 (4), Code2 (4), spare (2), the telephone digits in panel coding
// (16) and the Name (16). Each field ends at a "," (which is skipped) or at
// its width (the next character is then skipped unseen); the end of the line
// ends every field.
//
// Written: RoomNumber "," Code1 "," Code2 "," spare "," digits "," Name,
// with nothing else; at most 53 characters.
struct PanelEntry
{
    QByteArray SlotAddress;
    QByteArray RoomNumber;
    QByteArray Code1;
    QByteArray Code2;
    QByteArray Spare;
    QByteArray PHnumber; // dial text: "*", "#" and "p", no "?" fillers
    QByteArray Name;
};

PanelEntry ParsePanelEntry(const QByteArray &line);

// The entry text from the stored or typed values: the room cut to its leading
// digits (6), the codes to theirs (4, 4, 2), the number turned into panel
// digits (16); the Name goes as it stands, except that it ends before a CR,
// which would otherwise end the command early and start another one.
QByteArray PanelEntryText(const QByteArray &room, const QByteArray &code1, const QByteArray &code2,
                          const QByteArray &spare, const QByteArray &phone, const QByteArray &name);
