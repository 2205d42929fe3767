#include "backup/BackupContent.h"

#include "directory/DirectoryBackupContent.h"
#include "parameters/ParameterBackupContent.h"
#include "rfid/TagStoreContent.h"
#include "table/TableFile.h"

#include <QFileInfo>

namespace BackupContent {

bool load(const QString &fileName, QByteArray *bytes, QString *error)
{
    return TableFile::loadFile(fileName, bytes, error);
}

QString fileWithSuffix(const BackupEntry &entry, const QString &suffix)
{
    for (const QString &file : entry.files)
        if (QFileInfo(file).suffix() == suffix)
            return file;
    return {};
}

int count(const BackupEntry &entry)
{
    QByteArray bytes;
    switch (entry.kind()) {
    case BackupKind::Directory:
        if (!load(entry.path, &bytes, nullptr))
            return -1;
        return DirectoryBackupContent::count(bytes);
    case BackupKind::Parameters: {
        const QString records = fileWithSuffix(entry, QStringLiteral("records"));
        if (records.isEmpty() || !load(records, &bytes, nullptr))
            return -1;
        return ParameterBackupContent::count(bytes);
    }
    case BackupKind::Tags: {
        if (!load(entry.path, &bytes, nullptr))
            return -1;
        return TagStoreContent::count(bytes);
    }
    }
    return -1;
}

} // namespace BackupContent
