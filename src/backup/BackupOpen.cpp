#include "backup/BackupOpen.h"

#include "directory/DirectoryContext.h"
#include "backup/BackupContent.h"
#include "directory/PhoneListFile.h"
#include "parameters/ParameterFile.h"
#include "parameters/ParameterRecordSet.h"
#include "parameters/SystemParameters.h"

#include <QDir>
#include <QFileInfo>

namespace BackupOpen {

QString listFileName(const BackupEntry &entry, const QString &folder)
{
    const QDir dir(folder);
    const QFileInfo backup(entry.fileName());
    QString name = dir.filePath(backup.fileName());
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = dir.filePath(QStringLiteral("%1-%2.%3").arg(backup.completeBaseName()).arg(n).arg(backup.suffix()));
    return name;
}

bool openDirectory(DirectoryContext &ctx, const BackupEntry &entry, const QString &folder)
{
    return PhoneListFile(ctx).openAs(entry.path, listFileName(entry, folder));
}

bool openParameters(ParameterControls &controls, const BackupEntry &entry, UserPrompt &prompt)
{
    if (!ParameterFile::LoadParameterFile(controls, entry.path, prompt)
        || !ParameterFile::ApplyParameterFile(controls, prompt))
        return false;
    // Without its records the backup still opens as any parameter file does.
    QByteArray bytes;
    const QString records = BackupContent::fileWithSuffix(entry, QStringLiteral("records"));
    if (records.isEmpty() || !BackupContent::load(records, &bytes, nullptr))
        return true;
    const std::optional<ParameterRecordSet> set = ParameterRecordSet::fromFile(bytes, nullptr);
    if (set && set->has(1))
        SystemParameters::DecodeSystemParameters(controls, set->record(1), prompt);
    return true;
}

std::optional<StoreImage> tagStore(const BackupEntry &entry, QString *why)
{
    QByteArray bytes;
    if (!BackupContent::load(entry.path, &bytes, why))
        return std::nullopt;
    return StoreImage::fromFile(bytes, why);
}

} // namespace BackupOpen
