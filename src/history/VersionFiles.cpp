#include "history/VersionFiles.h"

#include "directory/DirectoryBackupContent.h"
#include "parameters/ParameterBackupContent.h"
#include "rfid/TagStoreContent.h"
#include "backup/BackupName.h"
#include "backup/BackupStore.h"
#include "history/HistoryStore.h"

#include <QRegularExpression>

namespace VersionFiles {

namespace {

// A slot of the directory of a model ending at `end`: 1000 to end (hex) in
// steps of 20.
bool isSlotOf(const QByteArray &slot, qint32 end)
{
    bool hex = false;
    const int address = slot.toInt(&hex, 16);
    return hex && slot.size() == 4 && address >= 0x1000 && address <= end && (address - 0x1000) % 0x20 == 0;
}

} // namespace

std::optional<BackupEntry> write(HistoryStore &store, const HistoryVersion &version, const QString &folder,
                                 QString *why)
{
    const std::optional<QByteArray> bytes = store.content(version.id, why);
    if (!bytes)
        return std::nullopt;
    const std::optional<HistoryContent::Parsed> content = HistoryContent::parse(version.kind, *bytes, why);
    if (!content)
        return std::nullopt;
    QList<BackupStore::File> files;
    switch (version.kind) {
    case BackupKind::Directory: files = DirectoryBackupContent::files(content->entries); break;
    case BackupKind::Parameters: files = ParameterBackupContent::files(content->records); break;
    case BackupKind::Tags: files = TagStoreContent::files(content->tags); break;
    }
    static const QRegularExpression token(QStringLiteral("^[A-Za-z0-9]+$"));
    const QString model = token.match(version.model).hasMatch() ? version.model : QStringLiteral("XarnUnknown");
    const QDateTime when = version.time.toLocalTime();
    BackupStore scratch(folder, [when] { return when; });
    const BackupStore::Saved saved = scratch.save(version.kind, model, files, content->count());
    if (!saved.entry && why)
        *why = saved.error;
    return saved.entry;
}

Fit check(const HistoryVersion &version, const HistoryContent::Parsed &content, qint32 directoryEnd)
{
    Fit fit;
    const QString here = BackupName::modelToken(directoryEnd);
    if (version.kind == BackupKind::Directory) {
        if (directoryEnd < 0x1000) {
            fit.fits = false;
            fit.problem = QStringLiteral("The model of this Corvalen was not recognised; no directory can be "
                                         "restored to it.");
            return fit;
        }
        for (const PanelEntry &e : content.entries) {
            if (!isSlotOf(e.SlotAddress, directoryEnd)) {
                fit.fits = false;
                fit.problem = QStringLiteral("Version %1 holds %2 (%3) in slot %4, which this Corvalen (%5) does "
                                             "not have; it cannot be restored to it.")
                                  .arg(version.id)
                                  .arg(QString::fromLatin1(e.Name), QString::fromLatin1(e.RoomNumber),
                                       QString::fromLatin1(e.SlotAddress), here);
                return fit;
            }
        }
    }
    if (!version.model.isEmpty() && version.model != here)
        fit.warning = QStringLiteral("Version %1 was read from a %2; this Corvalen is a %3.\r\nRestore it all the same?")
                          .arg(version.id)
                          .arg(version.model, here);
    return fit;
}

Fit check(HistoryStore &store, const HistoryVersion &version, qint32 directoryEnd, HistoryContent::Parsed *content)
{
    QString why;
    const std::optional<QByteArray> bytes = store.content(version.id, &why);
    std::optional<HistoryContent::Parsed> parsed =
        bytes ? HistoryContent::parse(version.kind, *bytes, &why) : std::nullopt;
    if (!parsed) {
        Fit fit;
        fit.fits = false;
        fit.problem = why;
        return fit;
    }
    if (content)
        *content = *parsed;
    return check(version, *parsed, directoryEnd);
}

} // namespace VersionFiles
