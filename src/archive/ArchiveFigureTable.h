#pragma once

#include "archive/ArchiveFigures.h"

#include <QAbstractTableModel>

// The chart's figures as a table, for assistive technology and for anyone
// who wants the numbers: a row for each hour of the day ("14:00-14:59"),
// then one for each day of the chart ("2026-03-05"), and one for the events
// without a date when there are some.
class ArchiveFigureTable : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setFigures(const ArchiveFigures &figures);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    ArchiveFigures figures_;
};
