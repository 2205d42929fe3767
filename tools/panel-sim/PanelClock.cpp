#include "PanelClock.h"


PanelClock::PanelClock()
    : base_(fields(2026, 1, 1, 12, 0, 0))
{
}

QDateTime PanelClock::fields(int year, int month, int day, int hour, int minute, int second)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC);
}

QDateTime PanelClock::now() const
{
    return base_.addMSecs(elapsedMs_);
}

void PanelClock::set(const QDateTime &time)
{
    base_ = fields(time.date().year(), time.date().month(), time.date().day(), time.time().hour(),
                   time.time().minute(), time.time().second());
    elapsedMs_ = 0;
    ++revision_;
}

void PanelClock::advance(qint64 ms)
{
    if (ms > 0)
        elapsedMs_ += ms;
}

bool PanelClock::setFromDigits(const QByteArray &digits)
{
    if (digits.size() != 12)
        return false;
    int value[6];
    for (int i = 0; i < 6; ++i) {
        const char hi = digits.at(2 * i), lo = digits.at(2 * i + 1);
        if (hi < '0' || hi > '9' || lo < '0' || lo > '9')
            return false;
        value[i] = (hi - '0') * 10 + (lo - '0');
    }
    const QDate date(2000 + value[5], value[4], value[3]);
    const QTime time(value[2], value[1], value[0]);
    if (!date.isValid() || !time.isValid())
        return false;
    set(QDateTime(date, time, Qt::UTC));
    return true;
}
