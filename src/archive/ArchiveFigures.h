#pragma once

#include <QDate>
#include <QList>
#include <QMap>
#include <QSqlDatabase>
#include <QString>
#include <array>
#include <optional>

struct ArchiveTerms;

// How many of the selected events fell in each hour of the day and on each
// day: the figures behind the archive's chart and its table.
struct ArchiveFigures
{
    qint64 total = 0;    // every selected event
    qint64 undated = 0;  // of those, without a date that can be (not in perDay)
    qint64 untimed = 0;  // without a time that can be (not in perHour)
    std::array<qint64, 24> perHour{};

    // Days firstDay to lastDay, one count each, days without events
    // included: the filter's range where it is set, else the days from the
    // first event to the last. Empty when no selected event has a date and
    // the range is open.
    QDate firstDay;
    QList<qint64> perDay;
    // Only the days with events, by Julian day.
    QMap<qint64, qint64> byDay;

    QDate lastDay() const { return firstDay.isValid() ? firstDay.addDays(perDay.size() - 1) : QDate(); }
    qint64 onDay(const QDate &day) const { return byDay.value(day.toJulianDay(), 0); }

    // A range longer than this is not filled in day by day: the days from the
    // first selected event to the last are shown instead.
    static constexpr int kMaxDays = 3660;

    // Fills perDay from byDay for the range [from, to] (either may be open).
    void spanDays(const std::optional<QDate> &from, const std::optional<QDate> &to);

    // Adds up the events the terms select (ArchiveTerms::events), from the
    // party index; or the day counts the terms select (ArchiveTerms::counts).
    // False on a database error. perDay is left to spanDays().
    bool readEvents(QSqlDatabase &db, const ArchiveTerms &terms, QString *error);
    bool readDayCounts(QSqlDatabase &db, const ArchiveTerms &terms, QString *error);
};
