#include "archive/ArchiveFigureTable.h"

#include <QLocale>

void ArchiveFigureTable::setFigures(const ArchiveFigures &figures)
{
    beginResetModel();
    figures_ = figures;
    endResetModel();
}

int ArchiveFigureTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 24 + int(figures_.perDay.size()) + (figures_.undated > 0 ? 1 : 0);
}

int ArchiveFigureTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant ArchiveFigureTable::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::TextAlignmentRole))
        return {};
    if (role == Qt::TextAlignmentRole)
        return index.column() == 1 ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter)) : QVariant();
    const int row = index.row();
    const int days = int(figures_.perDay.size());
    if (row < 24) {
        if (index.column() == 0)
            return QStringLiteral("%1:00-%1:59").arg(row, 2, 10, QLatin1Char('0'));
        return QLocale().toString(figures_.perHour[size_t(row)]);
    }
    if (row < 24 + days) {
        if (index.column() == 0)
            return figures_.firstDay.addDays(row - 24).toString(Qt::ISODate);
        return QLocale().toString(figures_.perDay.at(row - 24));
    }
    if (index.column() == 0)
        return QStringLiteral("without a date");
    return QLocale().toString(figures_.undated);
}

QVariant ArchiveFigureTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return section == 0 ? QStringLiteral("Hour or day") : QStringLiteral("Events");
    return QAbstractTableModel::headerData(section, orientation, role);
}
