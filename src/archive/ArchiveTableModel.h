#pragma once

#include "archive/ArchiveSelection.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>

class EventArchive;

// The archive's grid over a selection: one row an event, the columns Date,
// Time, RoomNumber, RlyNo, Source, Client and Downloaded. Rows are read a
// page at a time as the view asks for them and only a few pages are kept, so
// a million events cost no more memory than a hundred. Sorting (a click on a
// title) orders the whole selection, both ways.
class ArchiveTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int kPageRows = 200;
    static constexpr int kKeptPages = 12;

    explicit ArchiveTableModel(EventArchive &archive, QObject *parent = nullptr);

    // Selects anew: the archive may have grown, the filter changed. False
    // (the grid then empty, selectionFailed emitted) on a database error.
    bool setFilter(const EventFilter &filter);
    bool refresh() { return setFilter(selection_.filter()); }

    ArchiveSelection &selection() { return selection_; }
    const ArchiveFigures &figures() const { return selection_.figures(); }
    // The event of a row; nullptr when it cannot be read.
    const ArchivedEvent *eventAt(int row) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    static QString columnTitle(ArchiveColumn column);

signals:
    // After every new selection or order: the count and the figures changed.
    void selectionChanged();
    void selectionFailed(const QString &error);

private:
    const QList<ArchivedEvent> *page(qint64 number) const;
    void clearPages();

    // Pages read so far, the most recently used last.
    mutable QHash<qint64, QList<ArchivedEvent>> pages_;
    mutable QList<qint64> recent_;
    mutable ArchiveSelection selection_;
};
