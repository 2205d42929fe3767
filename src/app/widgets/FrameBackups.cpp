#include "app/widgets/FrameBackups.h"

#include "app/widgets/FrameActions.h"
#include "app/widgets/FramePages.h"
#include "backup/BackupMatch.h"
#include "backup/BackupOpen.h"
#include "backup/PanelBackups.h"
#include "backup/widgets/BackupsDialog.h"
#include "parameters/widgets/SystemPage.h"
#include "rfid/widgets/RfidPage.h"

#include <QAction>
#include <QDir>

FrameBackups::FrameBackups(DirectoryContext &ctx, FramePages &pages, FrameActions &actions, QWidget *window)
    : QObject(window)
    , ctx_(ctx)
    , pages_(pages)
    , actions_(actions)
    , window_(window)
{
}

void FrameBackups::enable(const QString &folder)
{
    if (backups_)
        return;
    backups_ = new PanelBackups(BackupStore(folder), window_);
    ctx_.erase = backups_;
    // Offered after a failed write: run once that write has let go of the line.
    connect(backups_, &PanelBackups::restoreRequested, this,
            [this](const BackupEntry &entry) { backups_->restoreWithBackup(ctx_, entry); }, Qt::QueuedConnection);
    auto *item = new QAction(QStringLiteral("&Backups..."), window_);
    item->setObjectName(QStringLiteral("BackupsItem"));
    item->setStatusTip(QStringLiteral("What the Corvalen held before each write that erased it"));
    connect(item, &QAction::triggered, this, &FrameBackups::BackupsItemClick);
    actions_.File1->insertAction(actions_.FileExitItem, item);
}

void FrameBackups::followSite(const QString &folder, const QString &siteName)
{
    if (!backups_)
        return;
    BackupStore store(folder);
    store.setSite(siteName);
    backups_->store() = store;
}

void FrameBackups::BackupsItemClick()
{
    if (!backups_)
        return;
    BackupsDialog dialog(
        backups_->store(), [this](const BackupEntry &entry) { backups_->restoreWithBackup(ctx_, entry); },
        [this](const BackupEntry &entry) { return openBackup(entry); }, window_);
    dialog.exec();
}

bool FrameBackups::openBackup(const BackupEntry &entry)
{
    if (ctx_.guard.refusesClick())
        return false;
    // Offline there is no panel to compare the model with: only the site counts.
    const ConnectionState &conn = ctx_.link.conn();
    const BackupMatch::Panel panel{conn.LoggedOn ? BackupName::modelToken(conn.DirectoryEnd) : entry.name.model,
                                   backups_ ? backups_->store().siteName() : QString()};
    if (!BackupMatch::confirm(entry.name, panel, ctx_.prompt, QStringLiteral("opened")))
        return false;
    switch (entry.kind()) {
    case BackupKind::Directory:
        // Saved beside the lists New starts, never into the backups folder.
        if (!BackupOpen::openDirectory(ctx_, entry, QDir::currentPath()))
            return false;
        pages_.PHButClick();
        return true;
    case BackupKind::Parameters:
        if (!BackupOpen::openParameters(pages_.systemPage()->controls(), entry, ctx_.prompt))
            return false;
        pages_.PbuttClick();
        return true;
    case BackupKind::Tags: {
        QString why;
        const std::optional<StoreImage> image = BackupOpen::tagStore(entry, &why);
        if (!image) {
            ctx_.prompt.message(why, UserPrompt::Kind::Error);
            return false;
        }
        if (!pages_.rfidPage()->openStore(*image))
            return false;
        pages_.RFbuttClick();
        return true;
    }
    }
    return false;
}
