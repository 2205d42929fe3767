#pragma once

#include <QByteArray>
#include <QList>

// Where a download of the panel's event log meets what the archive already
// holds. The panel's log is a window over its history: it loses its oldest
// events when full and may be cleared, and a download always ends with the
// newest. So a download continues the archive where its first events are the
// archive's last ones, and what follows them is new. Lines are compared by
// matchKey(), never by value alone: two identical lines in the same second are
// two events, and a line that the archive holds somewhere before its end is a
// new event when it comes again.
namespace ArchiveOverlap {

// What two lines are compared by: the line without its first five
// characters, which the panel does not give a meaning (the virtual panel
// numbers its lines afresh in every download).
QByteArray matchKey(const QByteArray &line);

// The length of the longest prefix of `download` that equals a suffix of
// `archiveTail` (both oldest first, compared as given). archiveTail needs to
// hold no more than the last download.size() keys of the archive; longer
// tails give the same answer. Linear in the two lengths (a prefix function
// over the download, then one pass over the tail).
qsizetype overlap(const QList<QByteArray> &archiveTail, const QList<QByteArray> &download);

} // namespace ArchiveOverlap
