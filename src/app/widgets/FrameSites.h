#pragma once

#include "link/DeviceMap.h"
#include "sites/PinVault.h"
#include "sites/Site.h"
#include "sites/SiteBook.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

class Connection;
class FrameActions;
class FrameBackups;
class FrameStatusBar;
class PortChoice;
class QAction;
class QMainWindow;
class SitePinKeeper;
class TEnterPin;
struct DirectoryContext;

// The window's side of the site book: File > "Sites...", the sites opened
// last in the File menu, and the open site. Opening a site makes its folder
// the working folder (the phone list, the details file and the other files
// of the pages live there), its address the port, its PIN the log-on
// dialog's (kept where the site keeps it; the details file keeps an empty
// PIN), its folder the backups' and its name part of the caption. A log-on
// and a backup are written into the book.
//
// Without enable() or before a site is opened, nothing of this changes
// what the window does.
class FrameSites : public QObject
{
    Q_OBJECT
public:
    struct Parts
    {
        DirectoryContext &ctx;
        Connection &connection;
        PortChoice &ports;
        DeviceMap &devices;
        FrameBackups &backups;
        FrameActions &actions;
        FrameStatusBar &status;
        // File New: the pages start afresh in the site's folder.
        std::function<void()> fileNew;
    };
    FrameSites(Parts parts, QMainWindow *window);
    ~FrameSites() override;

    // The book in bookFile (SiteBook::defaultFileName() for the program),
    // "Sites..." and the recent sites in the File menu. settingsFile notes
    // that the first-start offer was made. A damaged book is told with its
    // lines and left as it is. Only the first call counts; backups enabled
    // before it are recorded in the book.
    void enable(const QString &bookFile, const QString &settingsFile, int pinTimeoutMs = PinVault::kDefaultTimeoutMs);
    // The log-on dialog whose PIN follows the open site.
    void setPinDialog(TEnterPin *dialog);

    // At the first start with the program's files in the working folder and
    // no sites in the book: asks once (ever) whether to make that folder a
    // site; its files stay where they are. True when a site was made.
    bool offerFirstSite();

    // File > "Sites...".
    void SitesItemClick();
    // Opens a site of the book; false (nothing changed) with a message
    // while connected or busy, or when its folder or address cannot be used.
    bool openSite(const Site &site);

    std::optional<Site> openedSite() const { return site_; }
    SiteBook *book() const { return book_.get(); }
    QAction *sitesItem() const { return sitesItem_; }
    // The File menu's items of the recent sites, most recent first.
    const QList<QAction *> &recentItems() const { return recent_; }

    // Connection::captionChanged goes here: the caption with " - " and the
    // open site's name after it.
    void showCaption(const QString &caption);

    static constexpr int kRecentCount = 5;
    static constexpr const char *kOfferedKey = "Sites/FirstStartOffered";

private:
    void usePort(const Site &site);
    void restorePort();
    void fillRecent();
    void recordContact(qint32 directoryEnd);
    void recordBackup(bool ok, const QString &message);

    Parts parts_;
    QMainWindow *window_;
    std::unique_ptr<SiteBook> book_;
    std::unique_ptr<PinVault> vault_;
    std::unique_ptr<SitePinKeeper> keeper_;
    QPointer<TEnterPin> pinDialog_;
    QString settingsFile_;
    std::optional<Site> site_;
    QString caption_;
    QAction *sitesItem_ = nullptr;
    QAction *recentSeparator_ = nullptr;
    QList<QAction *> recent_;
    // The port whose device the open site replaced for this run, and what
    // it was, so that the next site (or a site on that port name) does not
    // inherit it.
    struct Replaced
    {
        int port = 0;
        QString device;     // the port's own device
        QString siteDevice; // the one the site put in its place
        DeviceMap::Source source = DeviceMap::Source::Default;
    };
    std::optional<Replaced> replaced_;
};
