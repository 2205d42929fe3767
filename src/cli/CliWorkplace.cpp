#include "cli/CliWorkplace.h"

#include "backup/BackupStore.h"
#include "cli/CliPrompt.h"
#include "sites/PinVault.h"
#include "sites/SiteBook.h"

#include <QDir>

CliWorkplace::Opened CliWorkplace::open(const QString &siteName, const QString &port, const QString &bookFile)
{
    Opened opened;
    CliWorkplace place;
    place.port_ = port;
    place.bookFile_ = bookFile;
    if (siteName.isEmpty()) {
        opened.place = place;
        return opened;
    }
    SiteBook book(bookFile);
    QString error;
    if (!book.load(&error)) {
        opened.exit = CliExit::Refused;
        opened.error = error;
        return opened;
    }
    const std::optional<Site> site = book.byName(siteName);
    if (!site) {
        opened.exit = CliExit::Usage;
        const QStringList close = book.closeNames(siteName);
        opened.error = QStringLiteral("No site \"%1\" in the site book %2").arg(siteName, QDir::toNativeSeparators(bookFile));
        if (!close.isEmpty())
            opened.error += QStringLiteral("; did you mean: %1?").arg(close.join(QStringLiteral(", ")));
        else if (book.sites().isEmpty())
            opened.error += QStringLiteral(" (it holds no sites: add one with \"sites add NAME --port ADDRESS\")");
        return opened;
    }
    place.site_ = *site;
    place.port_ = site->address;
    opened.place = place;
    return opened;
}

QString CliWorkplace::folder() const
{
    return site_ ? site_->folder : QDir::currentPath();
}

QString CliWorkplace::backupFolder() const
{
    return site_ ? site_->folder : BackupStore::defaultFolder();
}

PinSource::Result CliWorkplace::logOnPin(PinSource &pins, const QString &pinFile, PinVault &vault,
                                         CliPrompt &prompt) const
{
    if (!site_ || !pinFile.isEmpty() || pins.hasEnvironmentPin()
        || site_->pinKeeping == Site::PinKeeping::NotRemembered)
        return pins.logOnPin(pinFile);
    PinVault::Result kept = vault.read(*site_);
    if (kept.ok) {
        prompt.message(kept.message);
        PinSource::Result result{kept.pin, {}};
        kept.pin.fill('\0');
        return result;
    }
    if (kept.problem != PinVault::Problem::NotKept)
        prompt.warning(kept.message);
    return pins.logOnPin(pinFile);
}

bool CliWorkplace::recordContact(const QString &model, const QDateTime &when, QString *error) const
{
    if (!site_)
        return true;
    SiteBook book(bookFile_);
    return book.recordContact(site_->id, model, when, error);
}

bool CliWorkplace::recordBackup(const QDateTime &when, bool ok, const QString &message, QString *error) const
{
    if (!site_)
        return true;
    SiteBook book(bookFile_);
    return book.recordBackup(site_->id, when, ok, message, error);
}
