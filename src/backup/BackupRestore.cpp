#include "backup/BackupRestore.h"

#include "backup/BackupContent.h"
#include "directory/DirectoryBackupContent.h"
#include "directory/EntryWrite.h"
#include "link/CommandExchange.h"
#include "link/LineSilence.h"
#include "link/RecordNumber.h"

namespace BackupRestore {

namespace {

const QString kNotCleared = QStringLiteral("Could not clear All,\r\nSave your files and\r\nRecheck connection");

// A bare CR, then the erase command; two attempts of up to 4.32 s.
bool erase(CommandExchange &link, const QByteArray &command)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        link.SendCommand("\r");
        link.PumpWait(300);
        link.SendCommand(command + '\r');
        link.rx().DataArrived = false;
        link.clearReply();
        if (link.waitForReply(100, 50))
            return true;
    }
    return false;
}

bool linkUp(CommandExchange &link)
{
    return link.conn().LoggedOn && link.port().isOpen();
}

// Write attempts in a row without a byte back that mean the line is lost.
constexpr int kSilentAttemptsForLoss = 3;

QString lineLost(int written, const char *what)
{
    return LineSilence::lostText()
         + QStringLiteral("\r\nThe restore did not finish: %1 %2 written.").arg(written).arg(QLatin1String(what));
}

} // namespace

Result restoreDirectory(CommandExchange &link, const QList<PanelEntry> &entries)
{
    Result result;
    if (!erase(link, "f5a")) {
        result.error = kNotCleared;
        return result;
    }
    LineSilence silence(link.rx(), kSilentAttemptsForLoss);
    for (const PanelEntry &e : entries) {
        if (!linkUp(link)) {
            result.error = QStringLiteral("The link to the Corvalen was lost.");
            break;
        }
        // The text exactly as it was read: no room is turned into "0".
        const QByteArray text = PanelEntryText(e.RoomNumber, e.Code1, e.Code2, e.Spare, e.PHnumber, e.Name);
        const EntryWrite::Result done = EntryWrite::write(link, e.SlotAddress, text, silence);
        if (done == EntryWrite::Result::LineLost) {
            ++result.failed;
            result.error = lineLost(result.written, "entries");
            break;
        }
        ++(done == EntryWrite::Result::Written ? result.written : result.failed);
    }
    return result;
}

Result restoreParameters(CommandExchange &link, const ParameterRecordSet &records)
{
    Result result;
    if (!records.isComplete()) {
        result.error = QStringLiteral("The backup does not hold every parameter record.");
        return result;
    }
    // A record gets four tries of its own: one record without a byte back
    // means the line is lost.
    LineSilence silence(link.rx(), 1);
    for (int r = ParameterRecordSet::kFirst; r <= ParameterRecordSet::kLast; ++r) {
        silence.begin();
        const bool done = link.ProgramRecord(RecordNumber::fromInt(r), records.record(r));
        ++(done ? result.written : result.failed);
        if (silence.end()) {
            result.error = lineLost(result.written, "records");
            return result;
        }
    }
    link.PumpWait(200);
    link.SendCommand("u\r");
    return result;
}

Result restoreTags(CommandExchange &link, const StoreImage &image)
{
    Result result;
    if (!erase(link, "c1418")) {
        result.error = QStringLiteral("communication error");
        return result;
    }
    link.PumpWait(500);
    LineSilence silence(link.rx(), kSilentAttemptsForLoss);
    for (int r = StoreCodec::kFirstRecord; r <= StoreCodec::kLastRecord; ++r) {
        if (image.isBlank(r))
            continue; // the erase left it so
        const QByteArray number = RecordNumber::fromInt(r);
        const QByteArray text = image.record(r);
        bool done = false;
        for (int attempt = 0; attempt < 3 && !done && !silence.lost(); ++attempt) {
            silence.begin();
            link.RxMemo().clear();
            link.clearReply();
            link.PumpWait(20);
            link.SendCommand("g" + number + text + '\r');
            link.waitForReply(100, 10);
            done = link.ReadCompare(number, text);
            silence.end();
        }
        if (!done && !silence.lost())
            done = link.ProgramRecord(number, text);
        ++(done ? result.written : result.failed);
        if (silence.lost()) {
            result.error = lineLost(result.written, "records");
            break;
        }
    }
    return result;
}

Result restore(CommandExchange &link, const BackupEntry &entry)
{
    Result result;
    QByteArray bytes;
    QString why;
    switch (entry.kind()) {
    case BackupKind::Directory:
        if (!BackupContent::load(entry.path, &bytes, &result.error))
            return result;
        return restoreDirectory(link, DirectoryBackupContent::entries(bytes));
    case BackupKind::Parameters: {
        const QString file = BackupContent::fileWithSuffix(entry, QStringLiteral("records"));
        if (file.isEmpty()) {
            result.error = QStringLiteral("The backup has no parameter records beside %1.").arg(entry.fileName());
            return result;
        }
        if (!BackupContent::load(file, &bytes, &result.error))
            return result;
        const std::optional<ParameterRecordSet> set = ParameterRecordSet::fromFile(bytes, &why);
        if (!set) {
            result.error = why;
            return result;
        }
        return restoreParameters(link, *set);
    }
    case BackupKind::Tags: {
        if (!BackupContent::load(entry.path, &bytes, &result.error))
            return result;
        const std::optional<StoreImage> image = StoreImage::fromFile(bytes, &why);
        if (!image) {
            result.error = why;
            return result;
        }
        return restoreTags(link, *image);
    }
    }
    return result;
}

} // namespace BackupRestore
