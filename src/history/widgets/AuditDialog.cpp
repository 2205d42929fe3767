#include "history/widgets/AuditDialog.h"

#include "history/HistoryAudit.h"
#include "history/HistoryStore.h"
#include "history/widgets/HistoryVersionModel.h"
#include "table/widgets/FileDialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFontDatabase>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

AuditDialog::AuditDialog(HistoryStore &store, QWidget *parent)
    : QDialog(parent)
    , store_(store)
{
    setWindowTitle(QStringLiteral("Audit"));
    setAccessibleName(QStringLiteral("Audit"));
    auto *layout = new QVBoxLayout(this);
    auto *splitter = new QSplitter(Qt::Vertical, this);

    model_ = new HistoryVersionModel(this);
    model_->setVersions(store_.writes());
    view_ = new QTableView(splitter);
    view_->setObjectName(QStringLiteral("AuditWrites"));
    view_->setAccessibleName(QStringLiteral("Writes"));
    view_->setAccessibleDescription(QStringLiteral("Every write to the Corvalen, newest first"));
    view_->setModel(model_);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
    view_->horizontalHeader()->setStretchLastSection(true);
    view_->setWordWrap(false);
    view_->hideColumn(HistoryVersionModel::Action); // always "write"
    view_->resizeColumnsToContents();

    auto *lower = new QWidget(splitter);
    auto *lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    auto *changesLabel = new QLabel(QStringLiteral("What the chosen write changed:"), lower);
    changes_ = new QPlainTextEdit(lower);
    changesLabel->setBuddy(changes_);
    lowerLayout->addWidget(changesLabel);
    lowerLayout->addWidget(changes_, 1);
    changes_->setObjectName(QStringLiteral("AuditChanges"));
    changes_->setReadOnly(true);
    changes_->setLineWrapMode(QPlainTextEdit::NoWrap);
    changes_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    changes_->setAccessibleName(QStringLiteral("What the write changed"));
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    layout->addWidget(splitter, 1);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("AuditStatus"));
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    status_->setText(model_->rowCount() == 1 ? QStringLiteral("1 write")
                                             : QStringLiteral("%1 writes").arg(model_->rowCount()));
    layout->addWidget(status_);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->setAccessibleName(QStringLiteral("Audit commands"));
    QPushButton *exportButton = buttons->addButton(QStringLiteral("Export..."), QDialogButtonBox::ActionRole);
    exportButton->setAccessibleDescription(QStringLiteral("Save the list of writes as a spreadsheet list (.csv)"));
    exportButton->setAutoDefault(false);
    exportButton->setEnabled(model_->rowCount() > 0);
    buttons->button(QDialogButtonBox::Close)->setDefault(true);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &AuditDialog::showChanges);
    connect(exportButton, &QPushButton::clicked, this, [this] {
        const QString file = FileDialog::choose(
            this, QFileDialog::AcceptSave,
            {QStringLiteral("Spreadsheet list (*.csv)"), QStringLiteral("csv"), QStringLiteral("CorvalenAudit.csv"),
             QStringLiteral("Export Audit")});
        if (!file.isEmpty())
            exportTo(file);
    });
    resize(1040, 520);
    if (model_->rowCount() > 0)
        view_->selectRow(0);
}

void AuditDialog::showChanges()
{
    const HistoryVersion *write = model_->at(view_->currentIndex().row());
    changes_->setPlainText(write ? HistoryAudit::changesOf(store_, *write) : QString());
}

bool AuditDialog::exportTo(const QString &fileName)
{
    QString why;
    const bool saved = HistoryAudit::exportCsv(store_, fileName, &why);
    status_->setText(saved ? QStringLiteral("%1 writes exported to %2")
                                 .arg(model_->rowCount())
                                 .arg(QDir::toNativeSeparators(fileName))
                           : why);
    return saved;
}

int AuditDialog::writeCount() const
{
    return model_->rowCount();
}

QString AuditDialog::changesShown() const
{
    return changes_->toPlainText();
}

QString AuditDialog::status() const
{
    return status_->text();
}
