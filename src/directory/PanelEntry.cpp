#include "directory/PanelEntry.h"

#include "directory/DialDigits.h"
#include "directory/EntryText.h"
#include "directory/PhoneFields.h"

#include <algorithm>

namespace {

// Reads one field from pos: up to the next "," (skipped) or `width`
// characters (the following character is skipped unseen), or to the end.
QByteArray takeField(const QByteArray &line, qsizetype &pos, int width)
{
    const qsizetype start = std::min(pos, line.size());
    qsizetype end = start;
    while (end < line.size() && end - start < width && line.at(end) != ',')
        ++end;
    pos = end < line.size() ? end + 1 : end;
    return line.mid(start, end - start);
}

constexpr qsizetype kFirstField = 5; // after the four address characters and the separator

} // namespace

PanelEntry ParsePanelEntry(const QByteArray &line)
{
    PanelEntry e;
    e.SlotAddress = line.left(4);
    qsizetype pos = kFirstField;
    e.RoomNumber = takeField(line, pos, PhoneFields::kRoomWidth);
    e.Code1 = takeField(line, pos, PhoneFields::kCodeWidth);
    e.Code2 = takeField(line, pos, PhoneFields::kCodeWidth);
    e.Spare = takeField(line, pos, PhoneFields::kSpareWidth);
    e.PHnumber = DecodeDialDigits(takeField(line, pos, PhoneFields::kPhoneWidth));
    e.Name = takeField(line, pos, PhoneFields::kNameWidth);
    return e;
}

QByteArray PanelEntryText(const QByteArray &room, const QByteArray &code1, const QByteArray &code2,
                          const QByteArray &spare, const QByteArray &phone, const QByteArray &name)
{
    QByteArray text;
    text.reserve(53);
    text += LeadingDigits(room, PhoneFields::kRoomWidth);
    text += ',';
    text += LeadingDigits(code1, PhoneFields::kCodeWidth);
    text += ',';
    text += LeadingDigits(code2, PhoneFields::kCodeWidth);
    text += ',';
    text += LeadingDigits(spare, PhoneFields::kSpareWidth);
    text += ',';
    text += EncodeDialDigits(phone, PhoneFields::kPhoneWidth);
    text += ',';
    const qsizetype cr = name.indexOf('\r');
    text += cr < 0 ? name : name.left(cr);
    return text;
}
