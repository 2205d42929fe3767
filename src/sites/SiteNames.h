#pragma once

#include <QString>
#include <QStringList>

// Which names come close to one that was not found, for a message such as
// "No site "Harbor Street 12"; did you mean: 12 Harbour Street, gate 2?".
namespace SiteNames {

// The names that hold the query (ignoring case), or that differ from it
// by a few typing slips (about one in four letters), best first: the
// fewest slips, then names that start with the query, then by name.
QStringList close(const QString &query, const QStringList &names, int max = 5);

// The number of single-letter insertions, deletions, substitutions and
// swaps of neighbours that turn a into b.
int distance(const QString &a, const QString &b);

} // namespace SiteNames
