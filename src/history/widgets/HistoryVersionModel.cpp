#include "history/widgets/HistoryVersionModel.h"

HistoryVersionModel::HistoryVersionModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void HistoryVersionModel::setVersions(const QList<HistoryVersion> &versions)
{
    beginResetModel();
    versions_ = versions;
    endResetModel();
}

const HistoryVersion *HistoryVersionModel::at(int row) const
{
    return row >= 0 && row < versions_.size() ? &versions_.at(row) : nullptr;
}

int HistoryVersionModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(versions_.size());
}

int HistoryVersionModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString HistoryVersionModel::localTime(const QDateTime &utc)
{
    return utc.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString HistoryVersionModel::resultText(const HistoryVersion &v)
{
    if (v.action == HistoryAction::Write) {
        const QString result = v.result ? v.result->text() : QStringLiteral("result unknown");
        // A later read that found what was written confirms the write.
        return v.seen > 1 ? QStringLiteral("%1; read back unchanged %2").arg(result, localTime(v.lastSeen)) : result;
    }
    if (v.seen > 1)
        return QStringLiteral("seen %1 times, last %2").arg(v.seen).arg(localTime(v.lastSeen));
    return {};
}

QVariant HistoryVersionModel::data(const QModelIndex &index, int role) const
{
    const HistoryVersion *v = index.isValid() ? at(index.row()) : nullptr;
    if (!v)
        return {};
    if (role == Qt::ToolTipRole)
        return v->note.isEmpty() ? QVariant() : QVariant(v->note);
    if (role == Qt::TextAlignmentRole)
        return index.column() == Id || index.column() == Entries ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                                 : QVariant();
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Id: return QString::number(v->id);
    case Date: return localTime(v->time);
    case Kind: return BackupKinds::caption(v->kind);
    case Action: return HistoryActions::word(v->action);
    case Entries: return v->entriesText();
    case Changes: return v->changeText();
    case Result: return resultText(*v);
    case Who: return v->who;
    case Via: return v->via;
    }
    return {};
}

QVariant HistoryVersionModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const titles[ColumnCount] = {"Version", "Date", "Kind", "Action", "Who",
                                                     "Via", "Entries", "Changes", "Result"};
    return section >= 0 && section < ColumnCount ? QVariant(QLatin1String(titles[section])) : QVariant();
}
