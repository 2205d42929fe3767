#include "rfid/StoreImage.h"

#include "link/BulkReply.h"
#include "link/RecordNumber.h"
#include "link/ReplyMemo.h"

namespace {
const QByteArray kBlank(StoreCodec::kRecordWidth, '?');

bool isFourDigits(const QByteArray &text)
{
    if (text.size() != 4)
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}
} // namespace

StoreImage::StoreImage()
    : records_(kRecords, kBlank)
{
}

QByteArray StoreImage::record(int number) const
{
    const int i = number - StoreCodec::kFirstRecord;
    return i >= 0 && i < kRecords ? records_.at(i) : kBlank;
}

void StoreImage::setRecord(int number, const QByteArray &text)
{
    const int i = number - StoreCodec::kFirstRecord;
    if (i >= 0 && i < kRecords)
        records_[i] = StoreCodec::padRecord(text.left(StoreCodec::kRecordWidth));
}

bool StoreImage::isBlank(int number) const
{
    return record(number) == kBlank;
}

QList<StoreCodec::Entry> StoreImage::entries() const
{
    QList<StoreCodec::Entry> out;
    const QByteArray prefix(StoreCodec::kReplyPrefix, ' ');
    for (const QByteArray &text : records_)
        for (const StoreCodec::Entry &entry : StoreCodec::entries(prefix + text))
            if (!entry.room.isEmpty() && entry.room != "??????" && !entry.code.isEmpty())
                out.append(entry);
    return out;
}

std::optional<StoreImage> StoreImage::fromReply(const QByteArray &reply, QString *why)
{
    const QList<QByteArray> all = ReplyMemo::splitLines(reply);
    if (all.isEmpty() || all.last() != "OK") {
        if (why)
            *why = QStringLiteral("the reply did not end with OK.");
        return std::nullopt;
    }
    QList<QByteArray> lines = BulkReply::recordLines(reply);
    lines.removeAll(QByteArray());
    if (lines.size() != kRecords) {
        if (why)
            *why = QStringLiteral("the reply held %1 of the %2 records.").arg(lines.size()).arg(kRecords);
        return std::nullopt;
    }
    StoreImage image;
    for (int i = 0; i < kRecords; ++i)
        image.setRecord(StoreCodec::kFirstRecord + i, lines.at(i).mid(StoreCodec::kReplyPrefix));
    return image;
}

QByteArray StoreImage::toFile() const
{
    QByteArray out = kFileHeader + "\r\n";
    for (int i = 0; i < kRecords; ++i)
        out += RecordNumber::fromInt(StoreCodec::kFirstRecord + i) + ' ' + records_.at(i) + "\r\n";
    return out;
}

std::optional<StoreImage> StoreImage::fromFile(const QByteArray &bytes, QString *why)
{
    const auto fail = [why](const QString &reason) -> std::optional<StoreImage> {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    const QList<QByteArray> lines = ReplyMemo::splitLines(bytes);
    if (lines.isEmpty() || lines.first() != kFileHeader)
        return fail(QStringLiteral("It is not an RFID store file."));
    StoreImage image;
    for (qsizetype l = 1; l < lines.size(); ++l) {
        const QByteArray &line = lines.at(l);
        if (line.isEmpty())
            continue;
        const QByteArray number = line.left(4);
        const int record = number.toInt();
        if (!isFourDigits(number) || line.size() != 5 + StoreCodec::kRecordWidth || line.at(4) != ' '
            || record < StoreCodec::kFirstRecord || record > StoreCodec::kLastRecord)
            return fail(QStringLiteral("Line %1 is not a record of the RFID store.").arg(l + 1));
        image.setRecord(record, line.mid(5));
    }
    return image;
}
