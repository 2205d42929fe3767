#pragma once

#include "sites/Site.h"

#include <QAbstractTableModel>
#include <QList>

// The sites as rows of a grid: name, address, model, last backup with its
// result, last contact (times in local time). A failed last backup stands
// out three ways: the word "FAILED", a warning icon and a dark red bold
// text; its message is the cell's tooltip. One model over the whole list,
// no widget per row, so a book of thousands of sites opens at once.
class SiteListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Name, Address, Model, LastBackup, LastContact, ColumnCount };
    enum Role {
        SortRole = Qt::UserRole + 1, // text, or a time in ms since the epoch
        FilterRole,                  // name, address, notes and model in one text
        IdRole,                      // the site's id as a QUuid
    };

    explicit SiteListModel(QObject *parent = nullptr);

    void setSites(QList<Site> sites);
    const QList<Site> &sites() const { return sites_; }
    const Site &site(int row) const { return sites_.at(row); }
    // -1 when no row has that id.
    int rowOf(const QUuid &id) const;

    // "2024-05-02 02:00  ok", "2024-05-02 02:00  FAILED", or empty.
    static QString backupText(const Site &site);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<Site> sites_;
};
