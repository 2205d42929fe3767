#include "archive/ArchiveOverlap.h"

#include <vector>

namespace ArchiveOverlap {

QByteArray matchKey(const QByteArray &line)
{
    return line.mid(5);
}

qsizetype overlap(const QList<QByteArray> &archiveTail, const QList<QByteArray> &download)
{
    const qsizetype n = download.size();
    if (n == 0 || archiveTail.isEmpty())
        return 0;

    // failure[i]: the length of the longest proper prefix of download[0..i]
    // that is also a suffix of it.
    std::vector<qsizetype> failure(size_t(n), 0);
    for (qsizetype i = 1, k = 0; i < n; ++i) {
        while (k > 0 && download.at(i) != download.at(k))
            k = failure[size_t(k - 1)];
        if (download.at(i) == download.at(k))
            ++k;
        failure[size_t(i)] = k;
    }

    // Only the last n keys of the archive can take part in a prefix of n.
    qsizetype matched = 0;
    for (qsizetype t = qMax<qsizetype>(0, archiveTail.size() - n); t < archiveTail.size(); ++t) {
        const QByteArray &key = archiveTail.at(t);
        if (matched == n)
            matched = failure[size_t(n - 1)];
        while (matched > 0 && key != download.at(matched))
            matched = failure[size_t(matched - 1)];
        if (key == download.at(matched))
            ++matched;
    }
    return matched;
}

} // namespace ArchiveOverlap
