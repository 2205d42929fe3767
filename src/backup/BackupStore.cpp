#include "backup/BackupStore.h"

#include "backup/BackupContent.h"
#include "backup/BackupRetention.h"
#include "table/AtomicFile.h"

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

QString BackupStore::freeStem(BackupName &name, const QList<File> &files) const
{
    const QDir dir(folder_);
    for (name.serial = 1; name.serial <= kMostPerSecond; ++name.serial) {
        bool taken = false;
        for (const File &file : files)
            taken = taken || dir.exists(name.stem() + QLatin1Char('.') + file.suffix);
        if (!taken)
            return name.stem();
    }
    return {};
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
    const QString stem = freeStem(name, files);
    if (stem.isEmpty()) {
        saved.error = QStringLiteral("Cannot create file %1").arg(QDir::toNativeSeparators(folder_));
        return saved;
    }

    const QDir dir(folder_);
    QStringList written;
    for (const File &file : files) {
        const QString path = dir.filePath(stem + QLatin1Char('.') + file.suffix);
        const AtomicFile::Result result = AtomicFile::write(path, file.bytes, kOwnerOnly);
        if (result != AtomicFile::Result::Saved) {
            for (const QString &done : std::as_const(written))
                QFile::remove(done);
            saved.error = (result == AtomicFile::Result::CannotCreate ? QStringLiteral("Cannot create file %1")
                                                                      : QStringLiteral("Could not save %1"))
                              .arg(QDir::toNativeSeparators(path));
            return saved;
        }
        written << path;
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
