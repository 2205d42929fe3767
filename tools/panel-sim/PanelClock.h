#pragma once

#include <QDateTime>

// The panel's real-time clock. It keeps plain calendar fields (no time zone,
// no daylight saving) and moves only when told how much time has passed, so
// that whoever drives it decides what time is: the server the wall clock,
// tests a fixed script.
class PanelClock
{
public:
    PanelClock();

    QDateTime now() const;
    void set(const QDateTime &time);
    void advance(qint64 ms);

    // Sets the clock from the twelve digits "ssnnhhddmmyy" (seconds, minutes,
    // hours, day, month, two-digit year). False, and no change, when they do
    // not name a valid date and time.
    bool setFromDigits(const QByteArray &digits);

    quint64 revision() const { return revision_; }

    // Calendar fields as given, read as UTC so that no local rule moves them.
    static QDateTime fields(int year, int month, int day, int hour, int minute, int second);

private:
    QDateTime base_;
    qint64 elapsedMs_ = 0;
    quint64 revision_ = 0;
};
