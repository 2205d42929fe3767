#pragma once

#include "table/Table.h"

#include <QAbstractTableModel>
#include <QSet>

// Shows a Table in a view: one column per visible field, titled with the
// field name, text converted with Latin-1 so that every byte shows. Read-only.
// While the table's controls are disabled the model keeps showing the row
// count it had and resets once they are enabled again, unless what it shows
// is still the same.
class TableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit TableModel(Table &table, QObject *parent = nullptr);

    // Field names to show, in order; empty: every field.
    void setVisibleFields(const QList<QByteArray> &names);
    QList<QByteArray> visibleFields() const;
    // Columns shown dimmed (cells olive, titles grey).
    void setDimmedFields(const QSet<QByteArray> &names);
    int fieldOfColumn(int column) const;
    int columnOfField(const QByteArray &name) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void rebuildColumns();
    bool frozen() const { return frozen_; }
    bool shownUnchanged() const;

    Table &table_;
    QList<QByteArray> visibleNames_;
    QList<int> columns_; // field index per column
    QSet<int> dimmed_;
    QSet<QByteArray> dimmedNames_;
    bool frozen_ = false;
    int frozenRows_ = 0;
    QList<QList<QByteArray>> frozenShown_; // the rows when frozen (shared, not copied)
    QList<int> frozenColumns_;
    bool inReset_ = false;
    bool inReorder_ = false;
};
