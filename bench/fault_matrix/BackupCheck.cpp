#include "BackupCheck.h"

#include "MatrixRig.h"

#include "backup/BackupContent.h"
#include "backup/PanelBackups.h"
#include "directory/DirectoryBackupContent.h"
#include "parameters/ParameterRecordSet.h"
#include "rfid/StoreImage.h"

#include <algorithm>

namespace BackupCheck {

namespace {

QByteArray resident(const QByteArray &slot, const QByteArray &name)
{
    return slot + ':' + name.split(',').first();
}

QByteArray joined(QList<QByteArray> lines)
{
    std::sort(lines.begin(), lines.end());
    return lines.join('\n');
}

} // namespace

QByteArray panelHolds(MatrixRig &r, BackupKind kind)
{
    const PanelMemory &m = r.engine().memory();
    QList<QByteArray> lines;
    switch (kind) {
    case BackupKind::Directory:
        for (int n = PanelMemory::kFirstDirectory; n <= m.lastDirectoryRecord(); ++n)
            if (!m.record(n).isEmpty())
                lines << resident(QByteArray::number(n * 32, 16).toUpper().rightJustified(4, '0'),
                                  m.record(n).split(',').value(5));
        return joined(lines);
    case BackupKind::Parameters:
        for (int n = ParameterRecordSet::kFirst; n <= ParameterRecordSet::kLast; ++n)
            lines << m.record(n);
        return lines.join('\n');
    case BackupKind::Tags:
        for (int n = PanelMemory::kFirstRfid; n <= PanelMemory::kLastRfid; ++n)
            lines << m.record(n);
        return lines.join('\n');
    }
    return {};
}

std::optional<QByteArray> keptHolds(MatrixRig &r, BackupKind kind)
{
    QList<BackupEntry> kept = r.form->backups()->store().list();
    kept.removeIf([kind](const BackupEntry &e) { return e.kind() != kind; });
    if (kept.isEmpty())
        return std::nullopt;
    const BackupEntry &oldest = kept.last();
    const QByteArray unreadable = "unreadable";
    QByteArray bytes;
    QString why;
    QList<QByteArray> lines;
    switch (kind) {
    case BackupKind::Directory:
        if (!BackupContent::load(oldest.path, &bytes, &why))
            return unreadable;
        for (const PanelEntry &e : DirectoryBackupContent::entries(bytes))
            lines << resident(e.SlotAddress, e.Name);
        return joined(lines);
    case BackupKind::Parameters: {
        const QString file = BackupContent::fileWithSuffix(oldest, QStringLiteral("records"));
        if (file.isEmpty() || !BackupContent::load(file, &bytes, &why))
            return unreadable;
        const std::optional<ParameterRecordSet> set = ParameterRecordSet::fromFile(bytes, &why);
        if (!set)
            return unreadable;
        for (int n = ParameterRecordSet::kFirst; n <= ParameterRecordSet::kLast; ++n)
            lines << set->record(n);
        return lines.join('\n');
    }
    case BackupKind::Tags: {
        if (!BackupContent::load(oldest.path, &bytes, &why))
            return unreadable;
        const std::optional<StoreImage> image = StoreImage::fromFile(bytes, &why);
        if (!image)
            return unreadable;
        for (int n = PanelMemory::kFirstRfid; n <= PanelMemory::kLastRfid; ++n)
            lines << image->record(n);
        return lines.join('\n');
    }
    }
    return unreadable;
}

} // namespace BackupCheck
