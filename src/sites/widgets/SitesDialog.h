#pragma once

#include "sites/Site.h"

#include <QDialog>
#include <optional>

class PinVault;
class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class SiteBook;
class SiteListModel;
class UserPrompt;

// File > "Sites...": every site of the book in a grid (name, address, model,
// last backup with its result, last contact), a filter box over names,
// addresses, notes and models, and the commands New..., Edit..., Remove...
// (asks; the site's folder and its files stay), Import... and Export... (the
// spreadsheet list), and Open, which emits openRequested and closes.
//
// A book with a mistake is shown as such: the mistakes with their lines
// above an empty grid, and nothing that would change the book.
//
// Wiring: the main window creates it on demand with its SiteBook, its
// UserPrompt and its PinVault (so that a removed site's PIN does not linger
// in the keyring, and a PIN kept the old way is forgotten when the way it is
// kept changes; the next log-on keeps it the new way), connects
// openRequested to opening the site (see SiteBook.h), and shows it modally.
class SitesDialog : public QDialog
{
    Q_OBJECT
public:
    SitesDialog(SiteBook &book, UserPrompt &prompt, PinVault *vault = nullptr, QWidget *parent = nullptr);

    // Reads the book again and shows it; the chosen site stays chosen.
    void reload();
    // The site of the current row, if any.
    std::optional<Site> chosen() const;
    // Makes the site with that id the current row (when it is shown).
    void choose(const QUuid &id);

    QLineEdit *filterEdit() const { return filter_; }
    QTableView *view() const { return view_; }
    SiteListModel *model() const { return model_; }
    QLabel *countLabel() const { return count_; }
    QLabel *damageLabel() const { return damage_; }

signals:
    void openRequested(const Site &site);

private:
    void showBook();
    void updateCommands();
    void newSite();
    void editSite();
    void removeSite();
    void openSite();
    void importList();
    void exportList();
    void forgetPin(const Site &site);

    SiteBook &book_;
    UserPrompt &prompt_;
    PinVault *vault_;
    SiteListModel *model_ = nullptr;
    QSortFilterProxyModel *proxy_ = nullptr;
    QLineEdit *filter_ = nullptr;
    QTableView *view_ = nullptr;
    QLabel *count_ = nullptr;
    QLabel *damage_ = nullptr;
    QPushButton *new_ = nullptr;
    QPushButton *edit_ = nullptr;
    QPushButton *remove_ = nullptr;
    QPushButton *import_ = nullptr;
    QPushButton *export_ = nullptr;
    QPushButton *open_ = nullptr;
};
