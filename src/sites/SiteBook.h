#pragma once

#include "sites/Site.h"
#include "sites/SiteBookFormat.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The site book: every site the user looks after, in one human-readable
// file in the user's configuration folder (SiteBookFormat describes it).
//
// The window, corvalen-cli and a nightly job may change the book at the same
// time, so every change is one step under a lock file beside the book: read
// the file as it is now, make the change, write the whole book atomically
// (a crash leaves the old book or the new one, never half of one). A change
// made by another program in between is kept, not overwritten. After each
// change sites() is the book as saved.
//
// A damaged book (one with a mistake) is never saved over: load() and every
// change report the mistakes with their lines, and the user mends the file.
//
// One object is used from one thread; objects in several threads or
// processes may share one file.
//
// Wiring (for the main window and corvalen-cli):
//   SiteBook book(SiteBook::defaultFileName());
//   if (!book.load(&error)) prompt.message(error, UserPrompt::Kind::Error);
//   File > "Sites...":  SitesDialog(book, prompt, &vault, parent), its openRequested(site):
//       UserFolder::enter(site.folder, &error) makes it the working folder;
//       PortAddress::parse(site.address): COMn chooses port n, a device or
//       network address becomes the chosen port's device for this run
//       (DeviceMap::setDevice); and
//       book.recordOpened(site.id, now) puts it first in recent(5) for the
//       File menu; the caption gets " - " + site.name appended.
//   After a log-on:     book.recordContact(site.id, model, now).
//   After a backup:     book.recordBackup(site.id, now, ok, message).
//   First start:        book.sites().isEmpty() with an existing working folder
//       (and no note in PortSettings' file that it was offered): ask once,
//       and on Yes add a site whose folder is that working folder.
//   corvalen-cli --site NAME: byName(NAME), else exit 2 with closeNames(NAME);
//       "sites list/show --json": SiteJson; "sites import/export": SiteCsv;
//       "sites add/edit/remove": add(), update(), remove() (check() says why not).
class SiteBook
{
public:
    // sitesFolder: where a site gets its folder when it has none yet.
    explicit SiteBook(QString fileName, QString sitesFolder = QString());

    // ~/.config/Corvalen-Pro/sites.txt (XDG_CONFIG_HOME; QStandardPaths'
    // test mode redirects it).
    static QString defaultFileName();
    QString fileName() const { return fileName_; }
    QString sitesFolder() const { return sitesFolder_; }

    // Reads the book. A missing file is an empty book. False with *error
    // when the file cannot be read or has mistakes (then mistakes() lists
    // them and sites() is empty). A site without an id or folder (added by
    // hand) gets one and the book is saved at once, so that they stay.
    bool load(QString *error = nullptr);

    bool isDamaged() const { return !mistakes_.isEmpty(); }
    const QList<SiteBookFormat::Mistake> &mistakes() const { return mistakes_; }

    const QList<Site> &sites() const { return sites_; }
    // Names compare ignoring case and runs of blanks.
    std::optional<Site> byName(const QString &name) const;
    std::optional<Site> byId(const QUuid &id) const;
    // The names of the book that come close to name (a typing slip, a part
    // of the name), best first, at most max of them.
    QStringList closeNames(const QString &name, int max = 5) const;
    // The sites opened last, most recent first.
    QList<Site> recent(int count) const;

    // A site as it may be stored: a name (cleaned), not used by another
    // site, a good address (normalised), a full folder path. Empty when it
    // can be stored, else what is wrong. Used by add() and update() and by
    // the editor to say what is wrong before OK.
    QString check(Site *site) const { return check(site, sites_); }
    static QString check(Site *site, const QList<Site> &book);

    // Adds a site: a new id when it has none; its folder, when none is
    // given, made from its name under sitesFolder(). The site as saved, or
    // nothing with *error.
    std::optional<Site> add(Site site, QString *error = nullptr);
    // Replaces the site with the same id.
    bool update(Site site, QString *error = nullptr);
    // Removes the site with that id from the book; its folder stays as it is.
    bool remove(const QUuid &id, QString *error = nullptr);

    // What the program learned, written at once.
    bool recordContact(const QUuid &id, const QString &model, const QDateTime &when, QString *error = nullptr);
    bool recordOpened(const QUuid &id, const QDateTime &when, QString *error = nullptr);
    bool recordBackup(const QUuid &id, const QDateTime &when, bool ok, const QString &message,
                      QString *error = nullptr);

    // One change of any kind: apply gets the book as it is on disk now and
    // returns false with *error to leave it unchanged.
    using Change = std::function<bool(QList<Site> &sites, QString *error)>;
    bool change(const Change &apply, QString *error = nullptr);

    // How long a change waits for another program's change to finish.
    static constexpr int kLockWaitMs = 10000;

private:
    bool read(QList<Site> *sites, bool *completed, QString *error);
    bool write(const QList<Site> &sites, QString *error);
    QString damageReport() const;

    QString fileName_;
    QString sitesFolder_;
    QList<Site> sites_;
    QList<SiteBookFormat::Mistake> mistakes_;
};
