#include "backup/BackupStore.h"

#include "backup/BackupContent.h"
#include "backup/BackupRetention.h"
#include "table/NewFile.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QStandardPaths>
#include <algorithm>

namespace {
constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr int kMostPerSecond = 999;
} // namespace

BackupStore::BackupStore(const QString &folder, Clock now)
    : folder_(folder)
    , now_(now ? std::move(now) : Clock([] { return QDateTime::currentDateTime(); }))
{
}

QString BackupStore::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
         + QStringLiteral("/corvalen-pro/backups");
}

void BackupStore::setSite(const QString &siteName)
{
    siteName_ = siteName;
    siteToken_ = BackupName::siteToken(siteName);
}

BackupStore::Claim BackupStore::writeNew(const BackupName &name, const QList<File> &files, QStringList *written,
                                         QString *error) const
{
    const QDir dir(folder_);
    const QString stem = name.stem();
    for (const File &file : files)
        if (dir.exists(stem + QLatin1Char('.') + file.suffix))
            return Claim::Taken;
    for (const File &file : files) {
        const QString path = dir.filePath(stem + QLatin1Char('.') + file.suffix);
        const NewFile::Result result = NewFile::create(path, file.bytes, kOwnerOnly);
        if (result == NewFile::Result::Created) {
            *written << path;
            continue;
        }
        // Another save took this name meanwhile, or the disk failed: none of
        // this attempt's files stay.
        for (const QString &done : std::as_const(*written))
            QFile::remove(done);
        written->clear();
        if (result == NewFile::Result::Exists)
            return Claim::Taken;
        *error = (result == NewFile::Result::CannotCreate ? QStringLiteral("Cannot create file %1")
                                                          : QStringLiteral("Could not save %1"))
                     .arg(QDir::toNativeSeparators(path));
        return Claim::Failed;
    }
    return Claim::Saved;
}

BackupStore::Saved BackupStore::save(BackupKind kind, const QString &model, const QList<File> &files, int count,
                                     Retention retention)
{
    Saved saved;
    if (files.isEmpty())
        return saved;
    if (!QDir().mkpath(folder_)) {
        saved.error = QStringLiteral("Cannot create folder %1").arg(QDir::toNativeSeparators(folder_));
        return saved;
    }
    BackupName name;
    name.when = now().toLocalTime();
    name.when.setTime(QTime(name.when.time().hour(), name.when.time().minute(), name.when.time().second()));
    name.model = model;
    name.kind = kind;
    name.suffix = files.first().suffix;
    name.site = siteToken_;
    QStringList written;
    Claim claim = Claim::Taken;
    for (name.serial = 1; name.serial <= kMostPerSecond && claim == Claim::Taken; ++name.serial) {
        claim = writeNew(name, files, &written, &saved.error);
        if (claim == Claim::Saved)
            break;
    }
    if (claim == Claim::Failed)
        return saved;
    if (claim != Claim::Saved) {
        saved.error = QStringLiteral("Cannot create file %1").arg(QDir::toNativeSeparators(folder_));
        return saved;
    }
    BackupEntry entry;
    entry.name = name;
    entry.path = written.first();
    entry.files = written;
    entry.count = count;
    saved.entry = entry;
    if (retention == Retention::Now)
        prune();
    return saved;
}

QList<BackupEntry> BackupStore::scan(bool withCounts) const
{
    const QDir dir(folder_);
    QMap<QString, BackupEntry> byStem;
    QMap<QString, QStringList> filesByStem;
    for (const QString &file : dir.entryList(QDir::Files)) {
        const std::optional<BackupName> name = BackupName::parse(file);
        if (!name)
            continue;
        filesByStem[name->stem()] << dir.filePath(file);
        if (name->suffix != BackupKinds::primarySuffix(name->kind))
            continue;
        BackupEntry entry;
        entry.name = *name;
        entry.path = dir.filePath(file);
        byStem.insert(name->stem(), entry);
    }
    QList<BackupEntry> out;
    for (auto it = byStem.begin(); it != byStem.end(); ++it) {
        BackupEntry entry = it.value();
        entry.files = filesByStem.value(it.key());
        if (withCounts)
            entry.count = BackupContent::count(entry);
        out << entry;
    }
    std::stable_sort(out.begin(), out.end(), [](const BackupEntry &a, const BackupEntry &b) {
        if (a.name.when != b.name.when)
            return a.name.when > b.name.when;
        return a.name.serial > b.name.serial;
    });
    return out;
}

int BackupStore::prune()
{
    int removed = 0;
    for (const BackupEntry &entry : BackupRetention::expired(scan(false), now())) {
        if (held_.contains(entry.name.stem()))
            continue;
        for (const QString &file : entry.files)
            QFile::remove(file);
        ++removed;
    }
    return removed;
}

void BackupStore::hold(const BackupEntry &entry)
{
    held_.append(entry.name.stem());
}

void BackupStore::release(const BackupEntry &entry)
{
    held_.removeOne(entry.name.stem());
}
