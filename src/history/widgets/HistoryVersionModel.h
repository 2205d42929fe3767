#pragma once

#include "history/HistoryVersion.h"

#include <QAbstractTableModel>
#include <QList>

// The versions of a history as a table for a view: id, date and time (local),
// kind, action, who and through what, entries, what changed since the
// version before, and the result (of a write) or how often it was seen (of
// a read).
class HistoryVersionModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Id, Date, Kind, Action, Who, Via, Entries, Changes, Result, ColumnCount };

    explicit HistoryVersionModel(QObject *parent = nullptr);

    void setVersions(const QList<HistoryVersion> &versions);
    const QList<HistoryVersion> &versions() const { return versions_; }
    const HistoryVersion *at(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // "2026-03-14 10:30:00" in local time.
    static QString localTime(const QDateTime &utc);
    // A write's result, and "read back unchanged <time>" when a read found
    // what it wrote; for a read or backup seen again, "seen 3 times, last
    // <time>"; otherwise empty.
    static QString resultText(const HistoryVersion &v);

private:
    QList<HistoryVersion> versions_;
};
