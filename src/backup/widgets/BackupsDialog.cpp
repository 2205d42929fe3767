#include "backup/widgets/BackupsDialog.h"

#include "backup/BackupStore.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

BackupsDialog::BackupsDialog(BackupStore &store, Restore restore, Open open, QWidget *parent)
    : QDialog(parent)
    , store_(store)
    , restore_(std::move(restore))
    , open_(std::move(open))
{
    setWindowTitle(QStringLiteral("Backups"));
    setAccessibleName(QStringLiteral("Backups"));
    auto *layout = new QVBoxLayout(this);
    auto *where = new QLabel(QStringLiteral("Folder: %1").arg(QDir::toNativeSeparators(store_.folder())), this);
    where->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(where);

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("BackupList"));
    list_->setAccessibleName(QStringLiteral("Backups"));
    list_->setAccessibleDescription(QStringLiteral("What the Corvalen held before each write that erased it"));
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({QStringLiteral("Date"), QStringLiteral("Model"), QStringLiteral("Kind"),
                            QStringLiteral("Count"), QStringLiteral("File")});
    layout->addWidget(list_);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->setAccessibleName(QStringLiteral("Backup commands"));
    restoreButton_ = buttons->addButton(QStringLiteral("Restore"), QDialogButtonBox::ActionRole);
    restoreButton_->setAccessibleDescription(QStringLiteral("Write the chosen backup back to the Corvalen"));
    openButton_ = buttons->addButton(QStringLiteral("Open in Page"), QDialogButtonBox::ActionRole);
    openButton_->setAccessibleDescription(
        QStringLiteral("Load the chosen backup into its page, to look at, edit and write with Write All"));
    QPushButton *folder = buttons->addButton(QStringLiteral("Open folder"), QDialogButtonBox::ActionRole);
    folder->setAccessibleDescription(QStringLiteral("Show the backups folder in the file manager"));
    layout->addWidget(buttons);
    // Enter closes; it never starts a restore or replaces a page's data.
    for (QPushButton *b : {restoreButton_, openButton_, folder})
        b->setAutoDefault(false);
    buttons->button(QDialogButtonBox::Close)->setDefault(true);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QTreeWidget::currentItemChanged, this, &BackupsDialog::updateButtons);
    connect(restoreButton_, &QPushButton::clicked, this, [this] {
        if (const BackupEntry *entry = chosen(); entry && restore_)
            restore_(*entry);
        refresh();
    });
    connect(openButton_, &QPushButton::clicked, this, [this] {
        const BackupEntry *entry = chosen();
        if (entry && open_ && open_(*entry))
            accept();
    });
    connect(folder, &QPushButton::clicked, this, [this] {
        QDir().mkpath(store_.folder());
        QDesktopServices::openUrl(QUrl::fromLocalFile(store_.folder()));
    });
    resize(720, 400);
    refresh();
}

void BackupsDialog::refresh()
{
    entries_ = store_.list();
    list_->clear();
    for (const BackupEntry &e : std::as_const(entries_)) {
        list_->addTopLevelItem(new QTreeWidgetItem(
            {e.name.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), e.name.model,
             BackupKinds::caption(e.kind()), e.countText(), e.fileName()}));
    }
    for (int c = 0; c < list_->columnCount(); ++c)
        list_->resizeColumnToContents(c);
    if (!entries_.isEmpty())
        list_->setCurrentItem(list_->topLevelItem(0));
    updateButtons();
}

const BackupEntry *BackupsDialog::chosen() const
{
    const int row = list_->indexOfTopLevelItem(list_->currentItem());
    return row >= 0 && row < entries_.size() ? &entries_.at(row) : nullptr;
}

void BackupsDialog::updateButtons()
{
    restoreButton_->setEnabled(chosen() != nullptr);
    openButton_->setEnabled(chosen() != nullptr);
}
