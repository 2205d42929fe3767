#include "history/widgets/HistoryDialog.h"

#include "history/HistoryDiff.h"
#include "history/HistoryStore.h"
#include "history/widgets/AuditDialog.h"
#include "history/widgets/HistoryComparisonView.h"
#include "history/widgets/HistoryVersionModel.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

HistoryDialog::HistoryDialog(HistoryStore &store, QWidget *parent)
    : QDialog(parent)
    , store_(store)
{
    setWindowTitle(QStringLiteral("History"));
    setAccessibleName(QStringLiteral("History"));
    auto *layout = new QVBoxLayout(this);
    auto *where = new QLabel(QStringLiteral("History kept in %1").arg(QDir::toNativeSeparators(store_.fileName())), this);
    where->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(where);

    auto *filterRow = new QHBoxLayout;
    auto *kindLabel = new QLabel(QStringLiteral("&Kind:"), this);
    kind_ = new QComboBox(this);
    kind_->setObjectName(QStringLiteral("HistoryKind"));
    kind_->addItem(QStringLiteral("All kinds"), -1);
    for (BackupKind k : {BackupKind::Directory, BackupKind::Parameters, BackupKind::Tags})
        kind_->addItem(BackupKinds::caption(k), int(k));
    // Where a combo box is read out by name, its name; elsewhere the
    // label (its buddy) names it.
    kind_->setAccessibleName(QStringLiteral("Kind"));
    kind_->setAccessibleDescription(QStringLiteral("Show the versions of one kind only"));
    kindLabel->setBuddy(kind_);
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("HistoryCount"));
    filterRow->addWidget(kindLabel);
    filterRow->addWidget(kind_);
    filterRow->addStretch(1);
    filterRow->addWidget(count_);
    layout->addLayout(filterRow);

    model_ = new HistoryVersionModel(this);
    view_ = new QTableView(this);
    view_->setObjectName(QStringLiteral("HistoryVersions"));
    view_->setAccessibleName(QStringLiteral("Versions"));
    view_->setAccessibleDescription(
        QStringLiteral("Every read and write of the panel, newest first; choose two to compare them"));
    view_->setModel(model_);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
    view_->horizontalHeader()->setStretchLastSection(true);
    // Column widths from the newest hundred versions, not from thousands.
    view_->horizontalHeader()->setResizeContentsPrecision(100);
    view_->setWordWrap(false);
    layout->addWidget(view_, 1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->setAccessibleName(QStringLiteral("History commands"));
    compare_ = buttons->addButton(QStringLiteral("Compare"), QDialogButtonBox::ActionRole);
    compare_->setAccessibleDescription(QStringLiteral("Compare the two chosen versions entry by entry"));
    compareWithPage_ = buttons->addButton(QStringLiteral("Compare with Page"), QDialogButtonBox::ActionRole);
    compareWithPage_->setAccessibleDescription(
        QStringLiteral("Compare the chosen version with what its page holds now"));
    openInPage_ = buttons->addButton(QStringLiteral("Open in Page"), QDialogButtonBox::ActionRole);
    openInPage_->setAccessibleDescription(
        QStringLiteral("Load the chosen version into its page, to look at, edit and write with Write All"));
    restore_ = buttons->addButton(QStringLiteral("Restore"), QDialogButtonBox::ActionRole);
    restore_->setAccessibleDescription(
        QStringLiteral("Write the chosen version back to the Corvalen, after a backup and a question"));
    QPushButton *audit = buttons->addButton(QStringLiteral("Audit..."), QDialogButtonBox::ActionRole);
    audit->setAccessibleDescription(QStringLiteral("The writes only, with who, when, what changed and the result"));
    layout->addWidget(buttons);
    // Enter closes; it never starts a restore or replaces a page's data.
    for (QPushButton *b : {compare_, compareWithPage_, openInPage_, restore_, audit})
        b->setAutoDefault(false);
    buttons->button(QDialogButtonBox::Close)->setDefault(true);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(kind_, &QComboBox::currentIndexChanged, this, &HistoryDialog::refresh);
    connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &HistoryDialog::updateButtons);
    connect(compare_, &QPushButton::clicked, this, &HistoryDialog::compareChosen);
    const auto single = [this](void (HistoryDialog::*signal)(const HistoryVersion &)) {
        return [this, signal] {
            const QList<HistoryVersion> versions = chosen();
            if (versions.size() == 1)
                emit(this->*signal)(versions.first());
        };
    };
    connect(compareWithPage_, &QPushButton::clicked, this, single(&HistoryDialog::compareWithPageRequested));
    connect(openInPage_, &QPushButton::clicked, this, single(&HistoryDialog::openInPageRequested));
    connect(restore_, &QPushButton::clicked, this, single(&HistoryDialog::restoreRequested));
    connect(audit, &QPushButton::clicked, this, [this] {
        AuditDialog dialog(store_, this);
        dialog.exec();
    });
    resize(1040, 480);
    refresh();
}

void HistoryDialog::refresh()
{
    const int k = kind_->currentData().toInt();
    HistoryStore::Filter filter;
    if (k >= 0)
        filter.kind = BackupKind(k);
    model_->setVersions(store_.versions(filter));
    const int n = model_->rowCount();
    count_->setText(n == 1 ? QStringLiteral("1 version") : QStringLiteral("%1 versions").arg(n));
    view_->resizeColumnsToContents();
    if (n > 0)
        view_->selectRow(0);
    updateButtons();
}

void HistoryDialog::setKindFilter(std::optional<BackupKind> kind)
{
    kind_->setCurrentIndex(kind ? kind_->findData(int(*kind)) : 0);
}

QList<HistoryVersion> HistoryDialog::chosen() const
{
    QList<int> rows;
    for (const QModelIndex &index : view_->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    QList<HistoryVersion> out;
    for (int row : rows)
        if (const HistoryVersion *v = model_->at(row))
            out << *v;
    return out;
}

void HistoryDialog::choose(const QList<qint64> &ids)
{
    QItemSelection selection;
    for (int row = 0; row < model_->rowCount(); ++row)
        if (ids.contains(model_->at(row)->id))
            selection.select(model_->index(row, 0), model_->index(row, HistoryVersionModel::ColumnCount - 1));
    view_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void HistoryDialog::updateButtons()
{
    const QList<HistoryVersion> versions = chosen();
    compare_->setEnabled(versions.size() == 2 && versions.at(0).kind == versions.at(1).kind);
    for (QPushButton *b : {compareWithPage_, openInPage_, restore_})
        b->setEnabled(versions.size() == 1);
}

QString HistoryDialog::describe(const HistoryVersion &v)
{
    return QStringLiteral("version %1 (%2, %3 %4)")
        .arg(v.id)
        .arg(HistoryVersionModel::localTime(v.time), HistoryKinds::inText(v.kind),
             HistoryActions::word(v.action));
}

HistoryComparisonView *HistoryDialog::openComparison()
{
    if (!comparison_)
        comparison_ = new HistoryComparisonView(this);
    comparison_->open();
    return comparison_;
}

void HistoryDialog::compareChosen()
{
    const QList<HistoryVersion> versions = chosen();
    if (versions.size() != 2)
        return;
    // The list is newest first: the second chosen is the older.
    const HistoryVersion &older = versions.at(1);
    const HistoryVersion &newer = versions.at(0);
    const QString heading = QStringLiteral("From %1\nto %2").arg(describe(older), describe(newer));
    QString why;
    const std::optional<HistoryDiff> diff = HistoryDiff::between(store_, older.id, store_, newer.id, &why);
    HistoryComparisonView *view = openComparison();
    if (diff)
        view->showComparison(heading, *diff);
    else
        view->showError(heading, why);
}

void HistoryDialog::showComparisonWithPage(const HistoryVersion &version, const QByteArray &pageContent)
{
    const QString heading = QStringLiteral("From %1\nto what the %2 page holds now")
                                .arg(describe(version), HistoryKinds::inText(version.kind));
    QString why;
    const std::optional<HistoryDiff> diff = HistoryDiff::withContent(store_, version.id, pageContent, &why);
    HistoryComparisonView *view = openComparison();
    if (diff)
        view->showComparison(heading, *diff);
    else
        view->showError(heading, why);
}
