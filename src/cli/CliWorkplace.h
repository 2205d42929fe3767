#pragma once

#include "cli/CliExit.h"
#include "cli/PinSource.h"
#include "sites/Site.h"

#include <QDateTime>
#include <QString>
#include <optional>

class CliPrompt;
class PinVault;

// Where one run of corvalen-cli works: outside any site (the program as it
// always was: the port of --port, backups in the program's backups folder,
// the PIN from --pin-file, CORVALEN_PIN or the terminal), or inside a site
// of the site book (--site NAME): the site's address is the port, its
// folder holds its backups and files, its PIN comes from where the site
// keeps it, and what the run learns (the model, the last contact, the last
// backup) goes back into the book.
//
// Every command that works on a panel or on a panel's files takes its
// places from here, so that a site's data never lands in another's folder:
//
//   CliWorkplace::Opened opened = CliWorkplace::open(options.site, options.port, bookFile);
//   if (!opened.place) { print opened.error; return opened.exit; }
//   const CliWorkplace &place = *opened.place;
//   place.port(), place.folder(), place.backupFolder(), place.siteName()
//   place.logOnPin(pins, options.pinFile, vault, prompt)
//   place.recordContact(model, now), place.recordBackup(now, ok, message)
class CliWorkplace
{
public:
    struct Opened; // below

    // siteName empty: outside any site, on `port`. Otherwise the site of
    // that name in the book at bookFile (names compare ignoring case and
    // blank runs); an unknown name is a usage error that lists the names
    // that come close.
    static Opened open(const QString &siteName, const QString &port, const QString &bookFile);

    bool inSite() const { return site_.has_value(); }
    // The site as the book had it when the run began; only when inSite().
    const Site &site() const { return *site_; }
    QString siteName() const { return site_ ? site_->name : QString(); }
    // The panel's address: the site's, or the --port of a run outside a site.
    QString port() const { return port_; }
    // The site's folder; outside a site the current folder.
    QString folder() const;
    // Where backups are kept: the site's folder, or the program's backups
    // folder (BackupStore::defaultFolder()) outside a site.
    QString backupFolder() const;
    QString bookFile() const { return bookFile_; }

    // The PIN to log on with: --pin-file, then CORVALEN_PIN (both win over
    // the site), then where the site keeps it (keyring or PIN file), then
    // the terminal. A site whose store cannot give it (a locked keyring, a
    // PIN file others can read) is told as a warning and the terminal asked.
    // Which store gave the PIN is said as information.
    PinSource::Result logOnPin(PinSource &pins, const QString &pinFile, PinVault &vault, CliPrompt &prompt) const;

    // What the run learned, into the book; nothing outside a site. False
    // with *error when the book could not be written.
    bool recordContact(const QString &model, const QDateTime &when, QString *error = nullptr) const;
    bool recordBackup(const QDateTime &when, bool ok, const QString &message, QString *error = nullptr) const;

private:
    CliWorkplace() = default;

    std::optional<Site> site_;
    QString port_;
    QString bookFile_;
};

struct CliWorkplace::Opened
{
    std::optional<CliWorkplace> place;
    CliExit exit = CliExit::Done; // Usage for an unknown site, Refused for a damaged book
    QString error;
};
