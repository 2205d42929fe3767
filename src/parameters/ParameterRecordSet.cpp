#include "parameters/ParameterRecordSet.h"

#include "link/RecordNumber.h"
#include "link/ReplyMemo.h"

bool ParameterRecordSet::has(int record) const
{
    return record >= kFirst && record <= kLast && records_[record].has_value();
}

QByteArray ParameterRecordSet::record(int record) const
{
    return has(record) ? *records_[record] : QByteArray();
}

void ParameterRecordSet::setRecord(int record, const QByteArray &payload)
{
    if (record < kFirst || record > kLast)
        return;
    QByteArray bytes = payload.left(kWidth);
    bytes.append(QByteArray(kWidth - bytes.size(), '\0'));
    records_[record] = bytes;
}

bool ParameterRecordSet::isComplete() const
{
    for (int r = kFirst; r <= kLast; ++r)
        if (!has(r))
            return false;
    return true;
}

QByteArray ParameterRecordSet::toFile() const
{
    QByteArray out = kFileHeader + "\r\n";
    for (int r = kFirst; r <= kLast; ++r)
        if (has(r))
            out += RecordNumber::fromInt(r) + ' ' + records_[r]->toHex().toUpper() + "\r\n";
    return out;
}

std::optional<ParameterRecordSet> ParameterRecordSet::fromFile(const QByteArray &bytes, QString *why)
{
    const auto fail = [why](const QString &reason) -> std::optional<ParameterRecordSet> {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    const QList<QByteArray> lines = ReplyMemo::splitLines(bytes);
    if (lines.isEmpty() || lines.first() != kFileHeader)
        return fail(QStringLiteral("It is not a parameter record file."));
    ParameterRecordSet set;
    static const QByteArray hexDigits = "0123456789ABCDEFabcdef";
    for (qsizetype l = 1; l < lines.size(); ++l) {
        const QByteArray &line = lines.at(l);
        if (line.isEmpty())
            continue;
        bool number = line.size() == 5 + 2 * kWidth && line.at(4) == ' ';
        for (qsizetype i = 0; number && i < 4; ++i)
            number = line.at(i) >= '0' && line.at(i) <= '9';
        const QByteArray hex = line.mid(5);
        for (char c : hex)
            number = number && hexDigits.contains(c);
        const int record = line.left(4).toInt();
        if (!number || record < kFirst || record > kLast)
            return fail(QStringLiteral("Line %1 is not a parameter record.").arg(l + 1));
        set.setRecord(record, QByteArray::fromHex(hex));
    }
    return set;
}
