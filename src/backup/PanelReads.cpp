#include "backup/PanelReads.h"

#include "link/BulkReply.h"
#include "link/CommandExchange.h"
#include "link/ReplyMemo.h"

namespace PanelReads {

namespace {

const QString kNoAnswer = QStringLiteral("The Corvalen did not answer.");
const QString kUnended = QStringLiteral("The Corvalen's reply did not end with OK.");

// Sends the command with the echo held back and waits for the reply's own
// "OK" line: at most `steps` steps of 86.4 ms, and at most `silentSteps`
// silent steps in a row. The whole reply, or none with the reason.
std::optional<QByteArray> readWhole(CommandExchange &link, const QByteArray &command, int steps, int silentSteps,
                                    QString *why)
{
    ReceiveState &rx = link.rx();
    const bool echo = rx.EchoSuppressed;
    rx.EchoSuppressed = true;
    rx.ReceiveBuffer.clear();
    link.PumpWait(10);
    link.SendCommand(command + '\r');
    link.clearReply();
    rx.DataArrived = false;
    bool whole = false;
    bool anything = false;
    int silence = 0;
    for (int step = 0; step < steps && !whole; ++step) {
        link.PumpWait(100);
        whole = rx.ReplyOk && ReplyMemo::endsWithOkLine(rx.ReceiveBuffer);
        if (rx.DataArrived) {
            anything = true;
            silence = 0;
        } else if (++silence > silentSteps) {
            break;
        }
        rx.DataArrived = false;
    }
    const QByteArray reply = rx.ReceiveBuffer;
    rx.ReceiveBuffer.clear();
    rx.EchoSuppressed = echo;
    if (whole)
        return reply;
    if (why)
        *why = anything ? kUnended : kNoAnswer;
    return std::nullopt;
}

} // namespace

std::optional<DirectoryListing> readDirectory(CommandExchange &link, QString *why)
{
    const std::optional<QByteArray> reply = readWhole(link, "d01281152", 1501, 40, why);
    if (!reply)
        return std::nullopt;
    // The panel lists every slot, an empty one too: a reply without a single
    // slot line is a failed read, not an empty directory.
    DirectoryListing listing = DirectoryListing::read(*reply, true);
    if (listing.records == 0) {
        if (why)
            *why = QStringLiteral("The Corvalen's reply held none of the directory's slots.");
        return std::nullopt;
    }
    return listing;
}

std::optional<ParameterRecordSet> readParameterRecords(CommandExchange &link, QString *why)
{
    const std::optional<QByteArray> reply = readWhole(link, "d00010010", 100, 40, why);
    if (!reply)
        return std::nullopt;
    ParameterRecordSet set;
    for (const QByteArray &line : BulkReply::recordLines(*reply)) {
        bool number = false;
        // Each line: the record's address (its number times 32, in hex), a
        // separator and the record.
        const int record = line.left(4).toInt(&number, 16) / 32;
        if (number && line.size() > 5)
            set.setRecord(record, line.mid(5));
        else if (number && line.size() == 5)
            set.setRecord(record, QByteArray());
    }
    if (!set.isComplete()) {
        if (why)
            *why = QStringLiteral("The Corvalen's reply did not hold every parameter record.");
        return std::nullopt;
    }
    return set;
}

std::optional<StoreImage> readTagStore(CommandExchange &link, QString *why)
{
    const std::optional<QByteArray> reply = readWhole(link, "s14081535", 100, 100, why);
    if (!reply)
        return std::nullopt;
    QString reason;
    std::optional<StoreImage> image = StoreImage::fromReply(*reply, &reason);
    if (!image && why)
        *why = QStringLiteral("The Corvalen's RFID store could not be read: %1").arg(reason);
    return image;
}

} // namespace PanelReads
