#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <functional>

// The computer's clock as the event page reads it: the local date and time
// from an injected source (tests pass a fixed time), formatted by a locale.
class ComputerClock
{
public:
    using Now = std::function<QDateTime()>;

    explicit ComputerClock(Now now = &QDateTime::currentDateTime, QLocale locale = QLocale::system());

    QDateTime now() const { return now_(); }

    // The locale's long time format without its time-zone name
    // ("14:45:13", "2:45:13 PM"), and its short date format.
    QString longTime(const QDateTime &at) const;
    QString shortDate(const QDateTime &at) const;

    // The digits of the set-clock command, "ssnnhhddmmyy": seconds, minutes,
    // hours (00-23), day, month, last two digits of the year.
    static QByteArray setClockDigits(const QDateTime &at);

    // A time format with every time-zone field ("t") and the blanks around
    // it removed; quoted text stays.
    static QString withoutTimeZone(const QString &format);

private:
    Now now_;
    QLocale locale_;
};
