#include "archive/ArchiveTableModel.h"

#include "archive/EventArchive.h"

ArchiveTableModel::ArchiveTableModel(EventArchive &archive, QObject *parent)
    : QAbstractTableModel(parent)
    , selection_(archive)
{
}

QString ArchiveTableModel::columnTitle(ArchiveColumn column)
{
    switch (column) {
    case ArchiveColumn::Date: return QStringLiteral("Date");
    case ArchiveColumn::Time: return QStringLiteral("Time");
    case ArchiveColumn::Room: return QStringLiteral("RoomNumber");
    case ArchiveColumn::Relay: return QStringLiteral("RlyNo");
    case ArchiveColumn::Source: return QStringLiteral("Source");
    case ArchiveColumn::Client: return QStringLiteral("Client");
    case ArchiveColumn::Downloaded: return QStringLiteral("Downloaded");
    }
    return {};
}

bool ArchiveTableModel::setFilter(const EventFilter &filter)
{
    beginResetModel();
    clearPages();
    QString error;
    const bool ok = selection_.select(filter, &error);
    endResetModel();
    emit selectionChanged();
    if (!ok)
        emit selectionFailed(error);
    return ok;
}

void ArchiveTableModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ArchiveColumnCount)
        return;
    beginResetModel();
    clearPages();
    QString error;
    const bool ok = selection_.sortBy({ArchiveColumn(column), order}, &error);
    endResetModel();
    emit selectionChanged();
    if (!ok)
        emit selectionFailed(error);
}

void ArchiveTableModel::clearPages()
{
    pages_.clear();
    recent_.clear();
}

const QList<ArchivedEvent> *ArchiveTableModel::page(qint64 number) const
{
    auto it = pages_.find(number);
    if (it == pages_.end()) {
        QList<ArchivedEvent> rows;
        if (!selection_.rows(number * kPageRows, kPageRows, &rows))
            return nullptr;
        if (pages_.size() >= kKeptPages && !recent_.isEmpty())
            pages_.remove(recent_.takeFirst());
        it = pages_.insert(number, std::move(rows));
    } else {
        recent_.removeOne(number);
    }
    recent_.append(number);
    return &it.value();
}

const ArchivedEvent *ArchiveTableModel::eventAt(int row) const
{
    if (row < 0 || row >= rowCount())
        return nullptr;
    const QList<ArchivedEvent> *rows = page(row / kPageRows);
    const int at = row % kPageRows;
    return rows && at < rows->size() ? &rows->at(at) : nullptr;
}

int ArchiveTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(qMin<qint64>(selection_.count(), std::numeric_limits<int>::max()));
}

int ArchiveTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ArchiveColumnCount;
}

QVariant ArchiveTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.column() >= ArchiveColumnCount)
        return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole && role != Qt::TextAlignmentRole)
        return {};
    const ArchivedEvent *e = eventAt(index.row());
    if (!e)
        return {};
    const ArchiveColumn column = ArchiveColumn(index.column());
    if (role == Qt::TextAlignmentRole)
        return column == ArchiveColumn::Relay ? QVariant(int(Qt::AlignCenter)) : QVariant();
    if (role == Qt::ToolTipRole)
        return QStringLiteral("As sent: %1").arg(QString::fromLatin1(e->line));
    switch (column) {
    case ArchiveColumn::Date: return e->dateText();
    case ArchiveColumn::Time: return e->timeText();
    case ArchiveColumn::Room: return QString::fromLatin1(e->room);
    case ArchiveColumn::Relay: return QString::fromLatin1(e->relay);
    case ArchiveColumn::Source: return EventSources::name(e->source);
    case ArchiveColumn::Client: return QString::fromLatin1(e->clientText());
    case ArchiveColumn::Downloaded:
        return e->downloadedAt.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    }
    return {};
}

QVariant ArchiveTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ArchiveColumnCount)
        return columnTitle(ArchiveColumn(section));
    return QAbstractTableModel::headerData(section, orientation, role);
}
