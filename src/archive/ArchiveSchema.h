#pragma once

#include <QSqlDatabase>
#include <QString>

// The tables of `events.sqlite`:
//   downloads   one row per recorded download: when (UTC), the panel's clock,
//               lines received, events added and their seq range, who, via;
//   parties     every distinct pair of room text and client name;
//   events      one row per event in the panel's order (seq): its download,
//               party, kind, source, relay, full date (Julian day), second
//               and hour of the day, the date and time as decoded, whether it
//               decoded, and the line as sent;
//   day_counts  per day, kind, source and relay, the events of each hour.
// user_version holds the schema's version; a store of a later version is
// refused rather than changed.
namespace ArchiveSchema {

inline constexpr int kVersion = 1;

// Creates what is missing, in one transaction. False, with the reason, for a
// store of a later version or on a database error.
bool create(QSqlDatabase &db, QString *error);

} // namespace ArchiveSchema
