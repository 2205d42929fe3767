#include "table/widgets/TableModel.h"

#include <QBrush>
#include <QColor>
#include <QGuiApplication>
#include <QPalette>

TableModel::TableModel(Table &table, QObject *parent)
    : QAbstractTableModel(parent)
    , table_(table)
{
    connect(&table_, &Table::aboutToReset, this, [this] {
        if (frozen_ || inReset_)
            return;
        inReset_ = true;
        beginResetModel();
    });
    connect(&table_, &Table::resetDone, this, [this] {
        if (frozen_) {
            rebuildColumns();
            return;
        }
        if (!inReset_)
            beginResetModel();
        rebuildColumns();
        inReset_ = false;
        endResetModel();
    });
    connect(&table_, &Table::aboutToInsertRow, this, [this](int row) {
        if (!frozen_)
            beginInsertRows({}, row, row);
    });
    connect(&table_, &Table::rowInserted, this, [this] {
        if (!frozen_)
            endInsertRows();
    });
    connect(&table_, &Table::aboutToRemoveRow, this, [this](int row) {
        if (!frozen_)
            beginRemoveRows({}, row, row);
    });
    connect(&table_, &Table::rowRemoved, this, [this] {
        if (!frozen_)
            endRemoveRows();
    });
    connect(&table_, &Table::rowChanged, this, [this](int row) {
        if (!frozen_ && row >= 0 && row < table_.count() && !columns_.isEmpty())
            emit dataChanged(index(row, 0), index(row, int(columns_.size()) - 1));
    });
    connect(&table_, &Table::aboutToReorder, this, [this] {
        if (!frozen_) {
            inReorder_ = true;
            emit layoutAboutToBeChanged();
        }
    });
    connect(&table_, &Table::reordered, this, [this] {
        if (!frozen_ && inReorder_) {
            inReorder_ = false;
            emit layoutChanged();
        }
    });
    connect(&table_, &Table::controlsEnabled, this, [this](bool enabled) {
        if (!enabled) {
            frozenRows_ = table_.count();
            frozenShown_ = table_.rows();
            frozenColumns_ = columns_;
            frozen_ = true;
            return;
        }
        const bool sameAsShown = shownUnchanged();
        frozenShown_.clear();
        if (sameAsShown) {
            frozen_ = false; // a walk through the table, or changes to columns not shown
            return;
        }
        beginResetModel();
        frozen_ = false;
        rebuildColumns();
        endResetModel();
    });
    rebuildColumns();
}

// Whether the view would show the same as when the table's controls were
// disabled: same columns, same rows, same values in every shown column.
bool TableModel::shownUnchanged() const
{
    const QList<QList<QByteArray>> &now = table_.rows();
    if (columns_ != frozenColumns_ || now.size() != frozenShown_.size())
        return false;
    for (qsizetype row = 0; row < now.size(); ++row) {
        const QList<QByteArray> &before = frozenShown_.at(row);
        const QList<QByteArray> &after = now.at(row);
        for (int field : columns_)
            if (before.value(field) != after.value(field))
                return false;
    }
    return true;
}

void TableModel::rebuildColumns()
{
    columns_.clear();
    if (visibleNames_.isEmpty()) {
        for (int i = 0; i < table_.fields().size(); ++i)
            columns_.append(i);
    } else {
        for (const QByteArray &name : visibleNames_) {
            const int f = table_.fieldIndex(name);
            if (f >= 0)
                columns_.append(f);
        }
    }
    dimmed_.clear();
    for (const QByteArray &name : dimmedNames_) {
        const int f = table_.fieldIndex(name);
        if (f >= 0)
            dimmed_.insert(f);
    }
}

void TableModel::setVisibleFields(const QList<QByteArray> &names)
{
    beginResetModel();
    visibleNames_ = names;
    rebuildColumns();
    endResetModel();
}

QList<QByteArray> TableModel::visibleFields() const
{
    QList<QByteArray> names;
    for (int f : columns_)
        names.append(table_.fields().at(f).name);
    return names;
}

void TableModel::setDimmedFields(const QSet<QByteArray> &names)
{
    dimmedNames_ = names;
    rebuildColumns();
    if (!columns_.isEmpty()) {
        emit headerDataChanged(Qt::Horizontal, 0, int(columns_.size()) - 1);
        if (rowCount() > 0)
            emit dataChanged(index(0, 0), index(rowCount() - 1, int(columns_.size()) - 1), {Qt::ForegroundRole});
    }
}

int TableModel::fieldOfColumn(int column) const
{
    return column >= 0 && column < columns_.size() ? columns_.at(column) : -1;
}

int TableModel::columnOfField(const QByteArray &name) const
{
    return int(columns_.indexOf(table_.fieldIndex(name)));
}

int TableModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return frozen_ ? frozenRows_ : table_.count();
}

int TableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant TableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= table_.count() || index.column() >= columns_.size())
        return {};
    const int field = columns_.at(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return QString::fromLatin1(table_.value(index.row(), field));
    case Qt::ForegroundRole:
        if (dimmed_.contains(field))
            return QBrush(QColor(128, 128, 0));
        return {};
    }
    return {};
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole)
            return section + 1;
        return {};
    }
    if (section < 0 || section >= columns_.size())
        return {};
    const int field = columns_.at(section);
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(table_.fields().at(field).name);
    if (role == Qt::ForegroundRole && dimmed_.contains(field))
        return QBrush(QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text));
    return {};
}
