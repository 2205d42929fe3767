#include "rfid/RfidPageState.h"

#include "directory/PhoneDirectory.h"
#include "directory/PhoneFields.h"

void RfidPageState::setRfName(const QByteArray &text)
{
    if (rfName_ == text)
        return;
    rfName_ = text;
    emit rfNameChanged(text);
    hideLcExist();
}

void RfidPageState::setRfRoom(const QByteArray &text)
{
    if (rfRoom_ == text)
        return;
    rfRoom_ = text;
    emit rfRoomChanged(text);
}

void RfidPageState::setRfID(const QByteArray &text)
{
    const QByteArray cut = text.left(kRfidMaxLength);
    if (rfID_ == cut)
        return;
    rfID_ = cut;
    emit rfIDChanged(cut);
}

void RfidPageState::showCurrentEntry(const PhoneDirectory &directory)
{
    if (!directory.ScrollSyncOn)
        return;
    const Table &table = directory.PhoneTable;
    setRfName(table.field(PhoneFields::Name));
    setRfRoom(table.field(PhoneFields::RoomNumber));
    setRfID(table.field(PhoneFields::Rfid));
}

void RfidPageState::setProgressBar1(int value)
{
    if (progress_ == value)
        return;
    progress_ = value;
    emit progressChanged(value);
}

void RfidPageState::setIderror(const QString &text)
{
    if (iderror_ == text)
        return;
    iderror_ = text;
    emit iderrorChanged(text);
}

void RfidPageState::showCodeOwner(const QByteArray &room)
{
    lcCaption_ = kLcExistPrefix + QString::fromLatin1(room);
    lcVisible_ = true;
    emit lcExistChanged(lcVisible_, lcCaption_);
}

void RfidPageState::hideLcExist()
{
    if (!lcVisible_)
        return;
    lcVisible_ = false;
    emit lcExistChanged(lcVisible_, lcCaption_);
}

void RfidPageState::setTimer3Active(bool active)
{
    if (timer3_ == active)
        return;
    timer3_ = active;
    emit timer3Changed(active);
}

void RfidPageState::clearStatus()
{
    setIderror(QString());
    hideLcExist();
}
