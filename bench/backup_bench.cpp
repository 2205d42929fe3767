// What backups cost. First the backup before a full upload of a 1000 model:
// the whole directory read from the virtual panel (paced at 57600 baud, on
// virtual time) and saved, against the line time of the download's bytes.
// Then the retention rule over a folder of 10,000 backups (real time).
// Prints the figures; asserts nothing.
//
//   ./build/bench/backup_bench
#include "directory/DirectoryBackupContent.h"
#include "backup/BackupStore.h"
#include "directory/DirectoryTransfer.h"
#include "support/AppHarness.h"
#include "support/EnginePanel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

void backupBeforeUpload(const QString &folder)
{
    AppHarness h;
    EnginePanel panel(h.port);
    h.logOnWithPin();
    PanelMemory &memory = panel.memory();
    for (int r = 128; r <= memory.lastDirectoryRecord(); ++r)
        memory.setRecord(r, QByteArray::number(r) + ",1234,5678,00,0211:7<" + QByteArray::number(r % 10)
                                + ",Resident " + QByteArray::number(r));

    const qint64 start = h.elapsedTicks();
    const qint64 bytesBefore = h.link.rx().BytesReceived;
    QString why;
    const std::optional<DirectoryListing> reply = DirectoryBackupContent::readPanel(h.link, &why);
    const qint64 replyBytes = h.link.rx().BytesReceived - bytesBefore;
    const double readSeconds = double(h.elapsedTicks() - start) * Waiter::kTickNs / 1e9;
    if (!reply) {
        std::printf("directory read failed: %s\n", qPrintable(why));
        return;
    }
    const QList<PanelEntry> &entries = reply->occupied;
    QElapsedTimer timer;
    timer.start();
    BackupStore store(folder);
    const BackupStore::Saved saved =
        store.save(BackupKind::Directory, QStringLiteral("Xarn1000"), DirectoryBackupContent::files(entries),
                   int(entries.size()));
    const double saveMs = double(timer.nsecsElapsed()) / 1e6;
    const double lineSeconds = double(replyBytes) * 10 / 57600;
    std::printf("backup of a 1000 model before its upload: %lld entries, %lld bytes read\n",
                qlonglong(entries.size()), qlonglong(replyBytes));
    std::printf("  read: %.2f s (virtual), line time of the bytes %.2f s, ratio %.2f\n", readSeconds, lineSeconds,
                readSeconds / lineSeconds);
    std::printf("  save: %.1f ms (real), %s\n", saveMs, saved.entry ? "saved" : qPrintable(saved.error));
}

void retention(const QString &folder)
{
    const QDateTime now(QDate(2026, 12, 8), QTime(12, 0, 0));
    QDir().mkpath(folder);
    QElapsedTimer timer;
    timer.start();
    // 10,000 phone-list backups, one an hour back from now (about 417 days).
    for (int i = 0; i < 10000; ++i) {
        BackupName name;
        name.when = now.addSecs(-3600LL * i);
        name.model = QStringLiteral("Xarn1000");
        name.suffix = QStringLiteral("csv");
        QFile file(folder + QLatin1Char('/') + name.fileName());
        if (file.open(QIODevice::WriteOnly))
            file.write("Name,RoomNumber,PHnumber,Code1,Code2,spare,RFID,Addr\r\n");
    }
    const double makeMs = double(timer.nsecsElapsed()) / 1e6;
    BackupStore store(folder, [now] { return now; });
    timer.restart();
    const int removed = store.prune();
    const double pruneMs = double(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    const qsizetype left = store.list().size();
    const double listMs = double(timer.nsecsElapsed()) / 1e6;
    std::printf("retention over 10000 backups (made in %.0f ms):\n", makeMs);
    std::printf("  prune: %.1f ms, %d deleted, %lld kept (the newest 720 hours = 30 days)\n", pruneMs, removed,
                qlonglong(left));
    std::printf("  list with counts: %.1f ms\n", listMs);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    backupBeforeUpload(dir.filePath(QStringLiteral("upload")));
    retention(dir.filePath(QStringLiteral("retention")));
    return 0;
}
