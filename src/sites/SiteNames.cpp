#include "sites/SiteNames.h"

#include "sites/Site.h"

#include <QList>
#include <algorithm>
#include <vector>

namespace SiteNames {

int distance(const QString &a, const QString &b)
{
    // Optimal string alignment distance, three rows.
    const qsizetype n = a.size();
    const qsizetype m = b.size();
    std::vector<int> before(m + 1), previous(m + 1), current(m + 1);
    for (qsizetype j = 0; j <= m; ++j)
        previous[j] = int(j);
    for (qsizetype i = 1; i <= n; ++i) {
        current[0] = int(i);
        for (qsizetype j = 1; j <= m; ++j) {
            const int cost = a.at(i - 1) == b.at(j - 1) ? 0 : 1;
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + cost});
            if (i > 1 && j > 1 && a.at(i - 1) == b.at(j - 2) && a.at(i - 2) == b.at(j - 1))
                current[j] = std::min(current[j], before[j - 2] + 1);
        }
        std::swap(before, previous);
        std::swap(previous, current);
    }
    return previous[m];
}

QStringList close(const QString &query, const QStringList &names, int max)
{
    const QString wanted = SiteText::nameKey(query);
    if (wanted.isEmpty())
        return {};
    struct Candidate
    {
        int slips;
        bool prefix;
        QString name;
    };
    QList<Candidate> found;
    const int allowed = std::max(1, int(wanted.size()) / 4);
    for (const QString &name : names) {
        const QString key = SiteText::nameKey(name);
        if (key.contains(wanted) || (key.size() >= 3 && wanted.contains(key))) {
            found.append({0, key.startsWith(wanted), name});
            continue;
        }
        const int slips = distance(wanted, key);
        if (slips <= allowed)
            found.append({slips, false, name});
    }
    std::sort(found.begin(), found.end(), [](const Candidate &x, const Candidate &y) {
        if (x.slips != y.slips)
            return x.slips < y.slips;
        if (x.prefix != y.prefix)
            return x.prefix;
        return x.name.localeAwareCompare(y.name) < 0;
    });
    QStringList out;
    for (const Candidate &c : std::as_const(found)) {
        if (out.size() == max)
            break;
        out << c.name;
    }
    return out;
}

} // namespace SiteNames
