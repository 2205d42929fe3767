#include "sites/SiteBook.h"

#include "sites/SiteAddress.h"
#include "sites/SiteFolders.h"
#include "sites/SiteNames.h"
#include "table/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <algorithm>

namespace {
void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

qsizetype indexOf(const QList<Site> &sites, const QUuid &id)
{
    for (qsizetype i = 0; i < sites.size(); ++i)
        if (sites.at(i).id == id)
            return i;
    return -1;
}

// The book keeps times to the second.
QDateTime toSecond(const QDateTime &when)
{
    if (!when.isValid())
        return {};
    QDateTime utc = when.toUTC();
    utc.setTime(QTime(utc.time().hour(), utc.time().minute(), utc.time().second()));
    return utc;
}

QString noSuchSite()
{
    return QStringLiteral("The site is no longer in the site book (removed by another program?)");
}
} // namespace

SiteBook::SiteBook(QString fileName, QString sitesFolder)
    : fileName_(std::move(fileName))
    , sitesFolder_(sitesFolder.isEmpty() ? SiteFolders::defaultBase() : std::move(sitesFolder))
{
}

QString SiteBook::defaultFileName()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("Corvalen-Pro/sites.txt"));
}

QString SiteBook::damageReport() const
{
    return QStringLiteral("The site book %1 has mistakes; mend them in a text editor (the program does not save "
                          "over it until then):\n%2")
        .arg(QDir::toNativeSeparators(fileName_), SiteBookFormat::describe(mistakes_));
}

bool SiteBook::read(QList<Site> *sites, bool *completed, QString *error)
{
    QFile file(fileName_);
    if (!file.exists()) {
        mistakes_.clear();
        sites->clear();
        *completed = false;
        return true;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, QStringLiteral("Cannot open file %1").arg(fileName_));
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        setError(error, QStringLiteral("Cannot read file %1").arg(fileName_));
        return false;
    }
    SiteBookFormat::Parsed parsed = SiteBookFormat::parse(bytes, sitesFolder_);
    mistakes_ = parsed.mistakes;
    if (!mistakes_.isEmpty()) {
        sites_.clear();
        setError(error, damageReport());
        return false;
    }
    *sites = std::move(parsed.sites);
    *completed = parsed.completed;
    return true;
}

bool SiteBook::write(const QList<Site> &sites, QString *error)
{
    const QString folder = QFileInfo(fileName_).absolutePath();
    if (!QDir().mkpath(folder)) {
        setError(error, QStringLiteral("Cannot create folder %1").arg(folder));
        return false;
    }
    if (AtomicFile::write(fileName_, SiteBookFormat::format(sites)) != AtomicFile::Result::Saved) {
        setError(error, QStringLiteral("Cannot create file %1").arg(fileName_));
        return false;
    }
    return true;
}

bool SiteBook::load(QString *error)
{
    QList<Site> sites;
    bool completed = false;
    if (!read(&sites, &completed, error))
        return false;
    // Ids and folders for sites added by hand, kept from now on. A book
    // that cannot be written is still shown, with the reason.
    if (completed && !change([](QList<Site> &, QString *) { return true; }, error)) {
        if (!isDamaged())
            sites_ = std::move(sites);
        return false;
    }
    if (!completed)
        sites_ = std::move(sites);
    return true;
}

bool SiteBook::change(const Change &apply, QString *error)
{
    const QString folder = QFileInfo(fileName_).absolutePath();
    if (!QDir().mkpath(folder)) {
        setError(error, QStringLiteral("Cannot create folder %1").arg(folder));
        return false;
    }
    // A lock left by a program that crashed is taken over: QLockFile sees
    // that its process is gone, or at the latest that it is 30 s old (a
    // change takes milliseconds).
    QLockFile lock(fileName_ + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockWaitMs)) {
        setError(error, lock.error() == QLockFile::LockFailedError
                            ? QStringLiteral("The site book %1 is being changed by another program; try again")
                                  .arg(QDir::toNativeSeparators(fileName_))
                            : QStringLiteral("Cannot create file %1.lock").arg(fileName_));
        return false;
    }
    QList<Site> sites;
    bool completed = false;
    if (!read(&sites, &completed, error))
        return false;
    if (!apply(sites, error))
        return false;
    if (!write(sites, error))
        return false;
    sites_ = std::move(sites);
    return true;
}

std::optional<Site> SiteBook::byName(const QString &name) const
{
    const QString key = SiteText::nameKey(name);
    for (const Site &site : sites_)
        if (SiteText::nameKey(site.name) == key)
            return site;
    return std::nullopt;
}

std::optional<Site> SiteBook::byId(const QUuid &id) const
{
    const qsizetype i = indexOf(sites_, id);
    return i < 0 ? std::nullopt : std::optional<Site>(sites_.at(i));
}

QStringList SiteBook::closeNames(const QString &name, int max) const
{
    QStringList names;
    names.reserve(sites_.size());
    for (const Site &site : sites_)
        names << site.name;
    return SiteNames::close(name, names, max);
}

QList<Site> SiteBook::recent(int count) const
{
    QList<Site> opened;
    for (const Site &site : sites_)
        if (site.lastOpened.isValid())
            opened << site;
    std::stable_sort(opened.begin(), opened.end(),
                     [](const Site &a, const Site &b) { return a.lastOpened > b.lastOpened; });
    return opened.mid(0, count);
}

QString SiteBook::check(Site *site, const QList<Site> &book)
{
    site->name = SiteText::cleanName(site->name);
    site->notes = site->notes.trimmed();
    if (site->name.isEmpty())
        return QStringLiteral("The site has no name");
    const QString key = SiteText::nameKey(site->name);
    for (const Site &other : book)
        if (other.id != site->id && SiteText::nameKey(other.name) == key)
            return QStringLiteral("There is already a site named \"%1\"").arg(other.name);
    QString error;
    const std::optional<QString> address = SiteAddress::normalised(site->address, &error);
    if (!address)
        return error;
    site->address = *address;
    if (!site->folder.isEmpty()) {
        if (!QDir::isAbsolutePath(site->folder))
            return QStringLiteral("The folder \"%1\" is not a full path").arg(site->folder);
        site->folder = QDir::cleanPath(site->folder);
        for (const Site &other : book)
            if (other.id != site->id && other.folder == site->folder)
                return QStringLiteral("The folder %1 is already the folder of the site \"%2\"")
                    .arg(QDir::toNativeSeparators(site->folder), other.name);
    }
    if (!site->pinFile.isEmpty()) {
        if (!QDir::isAbsolutePath(site->pinFile))
            return QStringLiteral("The PIN file \"%1\" is not a full path").arg(site->pinFile);
        site->pinFile = QDir::cleanPath(site->pinFile);
    }
    return {};
}

std::optional<Site> SiteBook::add(Site site, QString *error)
{
    if (site.id.isNull())
        site.id = QUuid::createUuid();
    Site added;
    const bool ok = change(
        [&](QList<Site> &sites, QString *why) {
            if (indexOf(sites, site.id) >= 0) {
                setError(why, QStringLiteral("The site is already in the site book"));
                return false;
            }
            if (const QString problem = check(&site, sites); !problem.isEmpty()) {
                setError(why, problem);
                return false;
            }
            if (site.folder.isEmpty()) {
                QStringList taken;
                for (const Site &other : std::as_const(sites))
                    taken << other.folder;
                site.folder = SiteFolders::newFolder(sitesFolder_, site.name, taken);
            }
            sites.append(site);
            added = site;
            return true;
        },
        error);
    return ok ? std::optional<Site>(added) : std::nullopt;
}

bool SiteBook::update(Site site, QString *error)
{
    return change(
        [&](QList<Site> &sites, QString *why) {
            const qsizetype i = indexOf(sites, site.id);
            if (i < 0) {
                setError(why, noSuchSite());
                return false;
            }
            if (site.folder.isEmpty())
                site.folder = sites.at(i).folder;
            if (const QString problem = check(&site, sites); !problem.isEmpty()) {
                setError(why, problem);
                return false;
            }
            sites[i] = site;
            return true;
        },
        error);
}

bool SiteBook::remove(const QUuid &id, QString *error)
{
    return change(
        [&](QList<Site> &sites, QString *why) {
            const qsizetype i = indexOf(sites, id);
            if (i < 0) {
                setError(why, noSuchSite());
                return false;
            }
            sites.removeAt(i);
            return true;
        },
        error);
}

namespace {
// A change of one site's learned fields.
SiteBook::Change learned(const QUuid &id, std::function<void(Site &)> set)
{
    return [id, set = std::move(set)](QList<Site> &sites, QString *why) {
        const qsizetype i = indexOf(sites, id);
        if (i < 0) {
            setError(why, noSuchSite());
            return false;
        }
        set(sites[i]);
        return true;
    };
}
} // namespace

bool SiteBook::recordContact(const QUuid &id, const QString &model, const QDateTime &when, QString *error)
{
    return change(learned(id,
                          [&](Site &site) {
                              if (!model.isEmpty())
                                  site.model = model;
                              site.lastContact = toSecond(when);
                          }),
                  error);
}

bool SiteBook::recordOpened(const QUuid &id, const QDateTime &when, QString *error)
{
    // The book keeps seconds: a site opened in the same second as the one
    // opened before it is still the most recent one.
    return change(
        [&](QList<Site> &sites, QString *why) {
            QDateTime at = toSecond(when);
            for (const Site &other : std::as_const(sites))
                if (other.id != id && other.lastOpened.isValid() && other.lastOpened >= at)
                    at = other.lastOpened.addSecs(1);
            return learned(id, [&](Site &site) { site.lastOpened = at; })(sites, why);
        },
        error);
}

bool SiteBook::recordBackup(const QUuid &id, const QDateTime &when, bool ok, const QString &message,
                            QString *error)
{
    return change(learned(id,
                          [&](Site &site) {
                              site.lastBackup = toSecond(when);
                              site.backupResult = ok ? Site::BackupResult::Ok : Site::BackupResult::Failed;
                              site.backupMessage = message;
                          }),
                  error);
}
