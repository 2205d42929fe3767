#include "sites/widgets/SitesDialog.h"

#include "link/UserPrompt.h"
#include "sites/PinVault.h"
#include "sites/SiteBook.h"
#include "sites/SiteCsv.h"
#include "sites/widgets/SiteEditor.h"
#include "sites/widgets/SiteListModel.h"
#include "table/SpreadsheetFile.h"
#include "table/widgets/FileDialog.h"

#include <QCollator>
#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace {
const FileDialog::Kind kSpreadsheetList{QStringLiteral("Spreadsheet list (*.csv)"), QStringLiteral("csv"),
                                        QStringLiteral("Sites.csv")};

// Names in the user's language order, numbers by value ("Gate 2" before
// "Gate 10"); times by time, the never-seen first.
class SiteSortProxy : public QSortFilterProxyModel
{
public:
    explicit SiteSortProxy(QObject *parent)
        : QSortFilterProxyModel(parent)
    {
        // The C locale has no collation of its own (it orders "B" before
        // "a"); such systems get the neutral order of English.
        QLocale locale;
        if (locale.language() == QLocale::C)
            locale = QLocale(QLocale::English, QLocale::UnitedStates);
        collator_ = QCollator(locale);
        collator_.setCaseSensitivity(Qt::CaseInsensitive);
        collator_.setNumericMode(true);
    }

protected:
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override
    {
        const QVariant a = left.data(SiteListModel::SortRole);
        const QVariant b = right.data(SiteListModel::SortRole);
        if (a.typeId() == QMetaType::LongLong)
            return a.toLongLong() < b.toLongLong();
        return collator_.compare(a.toString(), b.toString()) < 0;
    }

private:
    QCollator collator_;
};

QPushButton *addButton(QDialogButtonBox *box, const QString &caption, const QString &hint)
{
    QPushButton *button = box->addButton(caption, QDialogButtonBox::ActionRole);
    button->setAutoDefault(false);
    button->setToolTip(hint);
    button->setAccessibleDescription(hint);
    return button;
}
} // namespace

SitesDialog::SitesDialog(SiteBook &book, UserPrompt &prompt, PinVault *vault, QWidget *parent)
    : QDialog(parent)
    , book_(book)
    , prompt_(prompt)
    , vault_(vault)
{
    setWindowTitle(QStringLiteral("Sites"));
    setAccessibleName(QStringLiteral("Sites"));
    auto *layout = new QVBoxLayout(this);

    auto *filterRow = new QHBoxLayout;
    filter_ = new QLineEdit(this);
    filter_->setObjectName(QStringLiteral("SiteFilter"));
    filter_->setClearButtonEnabled(true);
    filter_->setPlaceholderText(QStringLiteral("Name, address, notes or model"));
    filter_->setAccessibleName(QStringLiteral("Filter"));
    filter_->setAccessibleDescription(QStringLiteral("Shows only the sites whose name, address, notes or model "
                                                     "hold this text"));
    auto *filterLabel = new QLabel(QStringLiteral("F&ilter:"), this);
    filterLabel->setBuddy(filter_);
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(filter_, 1);
    layout->addLayout(filterRow);

    damage_ = new QLabel(this);
    damage_->setObjectName(QStringLiteral("SiteBookDamage"));
    damage_->setWordWrap(true);
    damage_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    damage_->setStyleSheet(QStringLiteral("color: #b00020;"));
    damage_->hide();
    layout->addWidget(damage_);

    model_ = new SiteListModel(this);
    proxy_ = new SiteSortProxy(this);
    proxy_->setSourceModel(model_);
    proxy_->setFilterRole(SiteListModel::FilterRole);
    proxy_->setFilterKeyColumn(SiteListModel::Name);
    proxy_->setFilterCaseSensitivity(Qt::CaseInsensitive);

    view_ = new QTableView(this);
    view_->setObjectName(QStringLiteral("SiteList"));
    view_->setAccessibleName(QStringLiteral("Sites"));
    view_->setAccessibleDescription(QStringLiteral("The sites of the site book; a failed last backup is marked FAILED"));
    view_->setModel(proxy_);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setAlternatingRowColors(true);
    view_->setSortingEnabled(true);
    view_->setWordWrap(false);
    view_->verticalHeader()->hide();
    // Fixed row heights and set column widths: nothing is measured per row,
    // so thousands of sites show as fast as a few.
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 8);
    const QFontMetrics metrics = view_->fontMetrics();
    QFont bold = view_->font();
    bold.setBold(true);
    const int icon = view_->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, view_);
    const int widths[SiteListModel::ColumnCount] = {
        metrics.horizontalAdvance(QStringLiteral("12 Harbour Street, gate 2")),
        metrics.horizontalAdvance(QStringLiteral("rfc2217://gate2.example:4001")),
        metrics.horizontalAdvance(QStringLiteral("Corvalen_1000_Xarn")),
        QFontMetrics(bold).horizontalAdvance(QStringLiteral("2024-05-02 02:00  FAILED")) + icon + 8,
        metrics.horizontalAdvance(QStringLiteral("2024-05-02 02:00"))};
    for (int c = 0; c < SiteListModel::ColumnCount; ++c)
        view_->setColumnWidth(c, widths[c] + 16);
    view_->horizontalHeader()->setStretchLastSection(true);
    view_->sortByColumn(SiteListModel::Name, Qt::AscendingOrder);
    layout->addWidget(view_, 1);

    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("SiteCount"));
    layout->addWidget(count_);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->setAccessibleName(QStringLiteral("Site commands"));
    new_ = addButton(buttons, QStringLiteral("New..."), QStringLiteral("Add a site to the book"));
    edit_ = addButton(buttons, QStringLiteral("Edit..."), QStringLiteral("Change the chosen site"));
    remove_ = addButton(buttons, QStringLiteral("Remove..."),
                        QStringLiteral("Remove the chosen site from the book; its folder and files stay"));
    import_ = addButton(buttons, QStringLiteral("Import..."),
                        QStringLiteral("Add and update sites from a spreadsheet list (.csv)"));
    export_ = addButton(buttons, QStringLiteral("Export..."),
                        QStringLiteral("Write the sites to a spreadsheet list (.csv) to share"));
    open_ = buttons->addButton(QStringLiteral("Open"), QDialogButtonBox::AcceptRole);
    open_->setToolTip(QStringLiteral("Work on the chosen site: its folder and its address"));
    open_->setAccessibleDescription(open_->toolTip());
    open_->setDefault(true);
    buttons->button(QDialogButtonBox::Close)->setAutoDefault(false);
    layout->addWidget(buttons);

    connect(filter_, &QLineEdit::textChanged, this, [this](const QString &text) {
        proxy_->setFilterFixedString(text.trimmed());
        if (!view_->currentIndex().isValid() && proxy_->rowCount() > 0)
            view_->setCurrentIndex(proxy_->index(0, 0));
        updateCommands();
    });
    connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &SitesDialog::updateCommands);
    // A double click opens; Return reaches Open, the default button. (Not
    // "activated": where the desktop activates on a single click, choosing a
    // row would open it.)
    connect(view_, &QTableView::doubleClicked, this, &SitesDialog::openSite);
    connect(new_, &QPushButton::clicked, this, &SitesDialog::newSite);
    connect(edit_, &QPushButton::clicked, this, &SitesDialog::editSite);
    connect(remove_, &QPushButton::clicked, this, &SitesDialog::removeSite);
    connect(import_, &QPushButton::clicked, this, &SitesDialog::importList);
    connect(export_, &QPushButton::clicked, this, &SitesDialog::exportList);
    // Open is the accept button; it closes only when a site was opened.
    connect(buttons, &QDialogButtonBox::accepted, this, &SitesDialog::openSite);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    resize(960, 520);
    reload();
    view_->setFocus();
}

void SitesDialog::reload()
{
    const std::optional<Site> before = chosen();
    QString error;
    book_.load(&error);
    showBook();
    if (before)
        choose(before->id);
}

void SitesDialog::showBook()
{
    model_->setSites(book_.sites());
    const bool damaged = book_.isDamaged();
    damage_->setVisible(damaged);
    if (damaged)
        damage_->setText(QStringLiteral("The site book %1 has mistakes; mend them in a text editor and open this "
                                        "window again:\n%2")
                             .arg(QDir::toNativeSeparators(book_.fileName()),
                                  SiteBookFormat::describe(book_.mistakes())));
    if (!view_->currentIndex().isValid() && proxy_->rowCount() > 0)
        view_->setCurrentIndex(proxy_->index(0, 0));
    updateCommands();
}

std::optional<Site> SitesDialog::chosen() const
{
    const QModelIndex index = proxy_->mapToSource(view_->currentIndex());
    if (!index.isValid())
        return std::nullopt;
    return model_->site(index.row());
}

void SitesDialog::choose(const QUuid &id)
{
    const int row = model_->rowOf(id);
    if (row < 0)
        return;
    const QModelIndex index = proxy_->mapFromSource(model_->index(row, 0));
    if (index.isValid()) {
        view_->setCurrentIndex(index);
        view_->scrollTo(index);
    }
}

void SitesDialog::updateCommands()
{
    const bool damaged = book_.isDamaged();
    const bool one = chosen().has_value();
    new_->setEnabled(!damaged);
    import_->setEnabled(!damaged);
    export_->setEnabled(!damaged && !book_.sites().isEmpty());
    edit_->setEnabled(!damaged && one);
    remove_->setEnabled(!damaged && one);
    open_->setEnabled(!damaged && one);
    const int total = int(book_.sites().size());
    const int shown = proxy_->rowCount();
    const QLocale locale;
    count_->setText(shown == total ? QStringLiteral("%1 %2").arg(locale.toString(total),
                                                                 total == 1 ? QStringLiteral("site") : QStringLiteral("sites"))
                                   : QStringLiteral("%1 of %2 sites").arg(locale.toString(shown), locale.toString(total)));
}

void SitesDialog::forgetPin(const Site &site)
{
    if (!vault_)
        return;
    const PinVault::Result result = vault_->forget(site);
    if (!result.ok)
        prompt_.message(result.message, UserPrompt::Kind::Error);
}

void SitesDialog::newSite()
{
    SiteEditor editor(Site{}, book_.sites(), book_.sitesFolder(), this);
    if (editor.exec() != QDialog::Accepted)
        return;
    QString error;
    const std::optional<Site> added = book_.add(editor.site(), &error);
    if (!added)
        prompt_.message(error, UserPrompt::Kind::Error);
    filter_->clear();
    reload();
    if (added)
        choose(added->id);
}

void SitesDialog::editSite()
{
    const std::optional<Site> before = chosen();
    if (!before)
        return;
    SiteEditor editor(*before, book_.sites(), book_.sitesFolder(), this);
    if (editor.exec() != QDialog::Accepted)
        return;
    const Site after = editor.site();
    QString error;
    if (!book_.update(after, &error)) {
        prompt_.message(error, UserPrompt::Kind::Error);
    } else if (after.pinKeeping != before->pinKeeping
               || (before->pinKeeping == Site::PinKeeping::PinFile && after.pinFilePath() != before->pinFilePath())) {
        // Kept elsewhere from now on: the old copy goes, and the next log-on
        // asks for the PIN and keeps it the new way.
        forgetPin(*before);
    }
    reload();
    choose(after.id);
}

void SitesDialog::removeSite()
{
    const std::optional<Site> site = chosen();
    if (!site)
        return;
    const QString question =
        UserPrompt::joinLines({QStringLiteral("Remove the site \"%1\" from the site book?").arg(site->name),
                               QStringLiteral("Its folder %1 and the files in it stay where they are.")
                                   .arg(QDir::toNativeSeparators(site->folder))});
    if (!prompt_.ask(question))
        return;
    QString error;
    if (!book_.remove(site->id, &error))
        prompt_.message(error, UserPrompt::Kind::Error);
    else if (site->pinKeeping == Site::PinKeeping::Keyring)
        forgetPin(*site); // nobody would find it in the keyring again; a PIN file stays with the folder
    reload();
}

void SitesDialog::openSite()
{
    const std::optional<Site> site = chosen();
    if (!site || book_.isDamaged())
        return;
    emit openRequested(*site);
    accept();
}

void SitesDialog::importList()
{
    const QString file = FileDialog::choose(this, QFileDialog::AcceptOpen, kSpreadsheetList);
    if (file.isEmpty())
        return;
    QString error;
    const std::optional<SiteCsv::Report> report = SiteCsv::importFile(book_, file, &error);
    if (report)
        prompt_.message(report->summary(),
                        report->problems.isEmpty() ? UserPrompt::Kind::Information : UserPrompt::Kind::Error);
    else
        prompt_.message(error, UserPrompt::Kind::Error);
    reload();
}

void SitesDialog::exportList()
{
    const QString file = FileDialog::choose(this, QFileDialog::AcceptSave, kSpreadsheetList);
    if (file.isEmpty())
        return;
    QString error;
    if (!SiteCsv::save(book_.sites(), file, SpreadsheetFile::separatorFor(QLocale()), &error))
        prompt_.message(error, UserPrompt::Kind::Error);
}
