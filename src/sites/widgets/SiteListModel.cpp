#include "sites/widgets/SiteListModel.h"

#include <QApplication>
#include <QBrush>
#include <QColor>
#include <QFont>
#include <QStyle>

namespace {
bool failed(const Site &site)
{
    return site.backupResult == Site::BackupResult::Failed;
}

qint64 sortTime(const QDateTime &when)
{
    return when.isValid() ? when.toMSecsSinceEpoch() : std::numeric_limits<qint64>::min();
}
} // namespace

SiteListModel::SiteListModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void SiteListModel::setSites(QList<Site> sites)
{
    beginResetModel();
    sites_ = std::move(sites);
    endResetModel();
}

int SiteListModel::rowOf(const QUuid &id) const
{
    for (int row = 0; row < sites_.size(); ++row)
        if (sites_.at(row).id == id)
            return row;
    return -1;
}

QString SiteListModel::backupText(const Site &site)
{
    if (!site.lastBackup.isValid() && site.backupResult == Site::BackupResult::None)
        return {};
    const QString when = SiteText::shownTime(site.lastBackup);
    switch (site.backupResult) {
    case Site::BackupResult::Ok:
        return when + QStringLiteral("  ok");
    case Site::BackupResult::Failed:
        return when + QStringLiteral("  FAILED");
    case Site::BackupResult::None:
        break;
    }
    return when;
}

int SiteListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(sites_.size());
}

int SiteListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SiteListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= sites_.size() || index.column() >= ColumnCount)
        return {};
    const Site &site = sites_.at(index.row());
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        switch (column) {
        case Name:
            return site.name;
        case Address:
            return site.address;
        case Model:
            return site.model;
        case LastBackup:
            if (role == Qt::AccessibleTextRole && failed(site))
                return backupText(site) + QStringLiteral(": ") + site.backupMessage;
            return backupText(site);
        case LastContact:
            return SiteText::shownTime(site.lastContact);
        }
        break;
    case SortRole:
        if (column == LastBackup)
            return sortTime(site.lastBackup);
        if (column == LastContact)
            return sortTime(site.lastContact);
        return data(index, Qt::DisplayRole).toString();
    case FilterRole:
        return QStringList{site.name, site.address, site.notes, site.model}.join(QLatin1Char('\n'));
    case IdRole:
        return site.id;
    case Qt::ToolTipRole:
        if (column == Name && !site.notes.isEmpty())
            return site.notes;
        if (column == LastBackup && !site.backupMessage.isEmpty())
            return site.backupMessage;
        break;
    case Qt::ForegroundRole:
        if (column == LastBackup && failed(site))
            return QBrush(QColor(0xB0, 0x00, 0x20));
        break;
    case Qt::FontRole:
        if (column == LastBackup && failed(site)) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        break;
    case Qt::DecorationRole:
        if (column == LastBackup && failed(site))
            return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
        break;
    default:
        break;
    }
    return {};
}

QVariant SiteListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Name:
        return QStringLiteral("Name");
    case Address:
        return QStringLiteral("Address");
    case Model:
        return QStringLiteral("Model");
    case LastBackup:
        return QStringLiteral("Last backup");
    case LastContact:
        return QStringLiteral("Last contact");
    }
    return {};
}
