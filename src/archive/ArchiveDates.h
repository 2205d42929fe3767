#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

// Full dates and times for the panel's event lines. The panel sends the day,
// month and two-digit year, and the hours, minutes and seconds, as one byte
// each in hexadecimal; the date of an event can only be at or shortly before
// the moment the log was downloaded.
namespace ArchiveDates {

// The year of a two-digit year: the latest year ending in those two digits
// that is at most one year after `reference` (a panel clock a little ahead of
// the computer's, around New Year, keeps its century; a year further ahead
// belongs to the century before). twoDigits outside 0-99 gives 0.
int fullYear(int twoDigits, int referenceYear);

// Three hexadecimal bytes as the panel sends a date (day, month, two-digit
// year) read as a full date by fullYear(); nullopt for text that is not six
// hexadecimal digits or a date that cannot be (day 0, month 13, the 0xFF
// bytes of an erased record, 30 February, a year byte above 99).
std::optional<QDate> eventDate(const QByteArray &sixHex, const QDate &reference);

// Three hexadecimal bytes as the panel sends a time (hours, minutes,
// seconds) as the second of the day; nullopt for text that is not six
// hexadecimal digits or a time that cannot be.
std::optional<int> eventSecond(const QByteArray &sixHex);

// The date that fullYear() and eventDate() measure against: the computer's
// local date at the download, or the panel's clock when that is later (the
// panel stamps its events by its own clock).
QDate referenceDate(const QDateTime &downloadedAt, const std::optional<QDateTime> &panelClock);

// The panel's clock as the event page shows it after a download ("hh:mm:ss"
// and "dd/mm/yy"), as a local date and time; the two-digit year by
// fullYear() against the computer's date at the download. nullopt when
// either text is not such a time or date.
std::optional<QDateTime> panelClock(const QString &Stime, const QString &Sdate, const QDateTime &downloadedAt);

} // namespace ArchiveDates
