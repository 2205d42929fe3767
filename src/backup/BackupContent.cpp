#include "backup/BackupContent.h"

#include "directory/PhoneFields.h"
#include "parameters/ParameterRecordSet.h"
#include "rfid/StoreImage.h"
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
        return int(TableFile::parse(bytes, PhoneFields::definition()).size());
    case BackupKind::Parameters: {
        const QString records = fileWithSuffix(entry, QStringLiteral("records"));
        if (records.isEmpty() || !load(records, &bytes, nullptr))
            return -1;
        const std::optional<ParameterRecordSet> set = ParameterRecordSet::fromFile(bytes, nullptr);
        if (!set)
            return -1;
        int n = 0;
        for (int r = ParameterRecordSet::kFirst; r <= ParameterRecordSet::kLast; ++r)
            n += set->has(r) ? 1 : 0;
        return n;
    }
    case BackupKind::Tags: {
        if (!load(entry.path, &bytes, nullptr))
            return -1;
        const std::optional<StoreImage> image = StoreImage::fromFile(bytes, nullptr);
        return image ? image->codeCount() : -1;
    }
    }
    return -1;
}

} // namespace BackupContent
