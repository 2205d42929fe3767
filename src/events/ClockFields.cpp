#include "events/ClockFields.h"

void ClockFields::set(QString &field, const QString &text)
{
    if (field == text)
        return;
    field = text;
    emit changed();
}

void ClockFields::setStime(const QString &text) { set(stime_, text); }
void ClockFields::setSdate(const QString &text) { set(sdate_, text); }
void ClockFields::setCtime(const QString &text) { set(ctime_, text); }
void ClockFields::setCdate(const QString &text) { set(cdate_, text); }
