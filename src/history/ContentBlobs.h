#pragma once

#include <QByteArray>
#include <QCache>
#include <QSqlDatabase>
#include <QString>
#include <optional>

// The contents of a history, each distinct one kept once (by its SHA-256),
// compressed, and where it pays as a line delta against the content of the
// version before, with a whole copy at least every kMaxDepth steps so that
// reading one never applies more than kMaxDepth deltas. Every content read
// back is checked against its hash: a damaged copy is reported, never
// passed on. Reconstructed contents are kept in a small cache keyed by hash
// (so a cached content is right whatever happens to the rows).
class ContentBlobs
{
public:
    static constexpr int kMaxDepth = 48;
    // Beyond this many inserted or removed lines a whole copy is kept.
    static constexpr int kMaxEdits = 400;

    explicit ContentBlobs(const QString &connection);

    static QByteArray hashOf(const QByteArray &bytes);

    // The id of the content with that hash (stored now when new, as a delta
    // against `base` where that is small). Call inside a transaction.
    std::optional<qint64> put(const QByteArray &bytes, const QByteArray &hash, std::optional<qint64> base,
                              QString *why);

    std::optional<QByteArray> get(qint64 id, QString *why);

private:
    QSqlDatabase db() const;

    QString connection_;
    QCache<QByteArray, QByteArray> cache_;
};
