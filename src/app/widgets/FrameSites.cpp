#include "app/widgets/FrameSites.h"

#include "app/UserFolder.h"
#include "app/widgets/FrameActions.h"
#include "app/widgets/FrameBackups.h"
#include "app/widgets/FrameStatusBar.h"
#include "backup/PanelBackups.h"
#include "directory/DirectoryContext.h"
#include "directory/PhoneListFile.h"
#include "link/Connection.h"
#include "link/LogOnDetails.h"
#include "link/PanelModel.h"
#include "link/PortAddress.h"
#include "link/PortChoice.h"
#include "link/widgets/TEnterPin.h"
#include "sites/SitePinKeeper.h"
#include "sites/widgets/SitesDialog.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QSettings>

FrameSites::FrameSites(Parts parts, QMainWindow *window)
    : QObject(window)
    , parts_(parts)
    , window_(window)
{
    connect(&parts_.connection, &Connection::panelIdentified, this, &FrameSites::recordContact);
}

FrameSites::~FrameSites()
{
    // The dialog may outlive this part of the window for a moment.
    if (pinDialog_)
        pinDialog_->setPinKeeper(nullptr);
}

void FrameSites::enable(const QString &bookFile, const QString &settingsFile, int pinTimeoutMs)
{
    if (book_)
        return;
    book_ = std::make_unique<SiteBook>(bookFile);
    vault_ = std::make_unique<PinVault>(pinTimeoutMs);
    settingsFile_ = settingsFile;
    QString error;
    if (!book_->load(&error))
        parts_.ctx.prompt.message(error, UserPrompt::Kind::Error);

    FrameActions &a = parts_.actions;
    sitesItem_ = new QAction(QStringLiteral("S&ites..."), window_);
    sitesItem_->setObjectName(QStringLiteral("SitesItem"));
    sitesItem_->setStatusTip(QStringLiteral("The buildings and their panels: open one, add, change or remove"));
    connect(sitesItem_, &QAction::triggered, this, &FrameSites::SitesItemClick);
    a.File1->insertAction(a.FileExitItem, sitesItem_);
    recentSeparator_ = a.File1->insertSeparator(a.FileExitItem);
    if (PanelBackups *backups = parts_.backups.backups())
        connect(backups, &PanelBackups::backupKept, this, &FrameSites::recordBackup);
    fillRecent();
}

void FrameSites::setPinDialog(TEnterPin *dialog)
{
    if (pinDialog_)
        pinDialog_->setPinKeeper(nullptr);
    pinDialog_ = dialog;
    if (pinDialog_)
        pinDialog_->setPinKeeper(keeper_.get());
}

bool FrameSites::offerFirstSite()
{
    if (!book_ || book_->isDamaged() || !book_->sites().isEmpty())
        return false;
    QSettings settings(settingsFile_, QSettings::IniFormat);
    if (settings.value(QLatin1String(kOfferedKey)).toBool())
        return false;
    // Only a folder the program has worked in: its details file or phone list.
    const QDir folder = QDir::current();
    if (!folder.exists(QLatin1String(LogOnDetails::kFileName))
        && !folder.exists(QLatin1String(PhoneListFile::kDefaultName)))
        return false;
    settings.setValue(QLatin1String(kOfferedKey), true);
    settings.sync();

    UserPrompt &prompt = parts_.ctx.prompt;
    const QString path = QDir::toNativeSeparators(folder.absolutePath());
    if (!prompt.ask(QStringLiteral("Corvalen-Pro now keeps each building's panel as a site of its own.\r\n"
                                   "Make the files in %1 a site?\r\nThey stay where they are.")
                        .arg(path)))
        return false;
    Site site;
    site.name = folder.dirName().isEmpty() ? QStringLiteral("My panel") : folder.dirName();
    site.folder = folder.absolutePath();
    LogOnDetails details;
    const int port = LogOnDetails::read(QLatin1String(LogOnDetails::kFileName), &details)
                             && details.portNumber >= 1 && details.portNumber <= 4
                         ? details.portNumber
                         : (parts_.ports.checkedItem() > 0 ? parts_.ports.checkedItem() : 2);
    site.address = QStringLiteral("COM%1").arg(port);
    QString error;
    const std::optional<Site> added = book_->add(site, &error);
    if (!added) {
        prompt.message(error, UserPrompt::Kind::Error);
        return false;
    }
    fillRecent();
    return openSite(*added);
}

void FrameSites::SitesItemClick()
{
    if (!book_)
        return;
    SitesDialog dialog(*book_, parts_.ctx.prompt, vault_.get(), window_);
    if (site_)
        dialog.choose(site_->id);
    std::optional<Site> chosen;
    connect(&dialog, &SitesDialog::openRequested, this, [&chosen](const Site &site) { chosen = site; });
    dialog.exec();
    if (chosen)
        openSite(*chosen);
    else
        fillRecent(); // the dialog may have renamed or removed sites
}

bool FrameSites::openSite(const Site &site)
{
    UserPrompt &prompt = parts_.ctx.prompt;
    if (parts_.ctx.guard.refusesClick())
        return false;
    if (parts_.connection.loggedOn() || parts_.ctx.link.conn().LoggedOn) {
        prompt.message(QStringLiteral("Go offline before opening the site \"%1\".").arg(site.name),
                       UserPrompt::Kind::Error);
        return false;
    }
    QString error;
    const std::optional<PortAddress> address = PortAddress::parse(site.address, &error);
    if (!address) {
        prompt.message(QStringLiteral("The site \"%1\" has no usable address: %2").arg(site.name, error),
                       UserPrompt::Kind::Error);
        return false;
    }
    if (!UserFolder::enter(site.folder, &error)) {
        prompt.message(error, UserPrompt::Kind::Error);
        return false;
    }
    site_ = site;
    // The phone list shown belongs to the folder it came from; a Save now
    // would write it there. The site starts as the program does, with New.
    if (parts_.fileNew)
        parts_.fileNew();
    usePort(site);
    parts_.backups.followSite(site.folder, site.name);
    keeper_ = std::make_unique<SitePinKeeper>(site, *vault_, prompt);
    if (pinDialog_)
        pinDialog_->setPinKeeper(keeper_.get());
    showCaption(parts_.connection.caption());
    if (book_ && !book_->recordOpened(site.id, QDateTime::currentDateTimeUtc(), &error))
        prompt.message(error, UserPrompt::Kind::Warning);
    fillRecent();
    parts_.status.setStatusText(QStringLiteral("Site %1, files in %2")
                                    .arg(site.name, QDir::toNativeSeparators(site.folder)));
    return true;
}

void FrameSites::usePort(const Site &site)
{
    restorePort();
    const std::optional<PortAddress> address = PortAddress::parse(site.address);
    if (!address)
        return;
    if (address->kind() == PortAddress::Kind::PortName) {
        // Choosing the port also writes it into the site's details file, so
        // the log-on dialog does not switch back to another one.
        parts_.ports.choose(address->portNumber());
        return;
    }
    // A device or a network address stands in for one of the four ports for
    // this run: the one the site's details file names, else the one chosen.
    LogOnDetails details;
    int port = parts_.ports.checkedItem() > 0 ? parts_.ports.checkedItem() : 2;
    if (LogOnDetails::read(QLatin1String(LogOnDetails::kFileName), &details) && details.portNumber >= 1
        && details.portNumber <= 4)
        port = details.portNumber;
    const QString device = address->kind() == PortAddress::Kind::Device ? address->devicePath() : address->toString();
    replaced_ = Replaced{port, parts_.devices.device(port), device, parts_.devices.source(port)};
    parts_.devices.setDevice(port, device, DeviceMap::Source::CommandLine);
    parts_.ports.choose(port);
}

void FrameSites::restorePort()
{
    // Unless the user chose another device for the port since.
    if (replaced_ && parts_.devices.device(replaced_->port) == replaced_->siteDevice)
        parts_.devices.setDevice(replaced_->port, replaced_->device, replaced_->source);
    replaced_.reset();
}

void FrameSites::showCaption(const QString &caption)
{
    caption_ = caption.isEmpty() ? StartCaption() : caption;
    window_->setWindowTitle(site_ ? caption_ + QStringLiteral(" - ") + site_->name : caption_);
}

void FrameSites::fillRecent()
{
    FrameActions &a = parts_.actions;
    for (QAction *item : std::as_const(recent_)) {
        a.File1->removeAction(item);
        item->deleteLater();
    }
    recent_.clear();
    if (!book_)
        return;
    const QList<Site> sites = book_->recent(kRecentCount);
    int number = 0;
    for (const Site &site : sites) {
        QString caption = site.name;
        caption.replace(QLatin1Char('&'), QLatin1String("&&"));
        auto *item = new QAction(QStringLiteral("&%1 %2").arg(++number).arg(caption), window_);
        item->setObjectName(QStringLiteral("RecentSite%1").arg(number));
        item->setStatusTip(QStringLiteral("Open the site %1 (%2)").arg(site.name, site.address));
        const QUuid id = site.id;
        connect(item, &QAction::triggered, this, [this, id] {
            // The book as it is now: another program may have changed the site.
            QString error;
            if (!book_->load(&error)) {
                parts_.ctx.prompt.message(error, UserPrompt::Kind::Error);
                return;
            }
            if (const std::optional<Site> now = book_->byId(id))
                openSite(*now);
            else
                fillRecent();
        });
        a.File1->insertAction(recentSeparator_, item);
        recent_ << item;
    }
}

void FrameSites::recordContact(qint32 directoryEnd)
{
    if (!site_ || !book_)
        return;
    const std::optional<PanelModel> model = PanelModelByDirectoryEnd(directoryEnd);
    QString error;
    if (!book_->recordContact(site_->id, model ? QString::fromLatin1(model->identity) : QString(),
                              QDateTime::currentDateTimeUtc(), &error))
        parts_.ctx.prompt.message(error, UserPrompt::Kind::Warning);
}

void FrameSites::recordBackup(bool ok, const QString &message)
{
    if (!site_ || !book_)
        return;
    QString error;
    if (!book_->recordBackup(site_->id, QDateTime::currentDateTimeUtc(), ok, message, &error))
        parts_.ctx.prompt.message(error, UserPrompt::Kind::Warning);
}
