#include "link/LogOnDetails.h"

#include <QFile>
#include "table/AtomicFile.h"
#include <QtEndian>

namespace {
void putCounted(QByteArray &record, int offset, const QByteArray &text)
{
    const QByteArray cut = text.left(LogOnDetails::kTextCapacity);
    record[offset] = char(cut.size());
    for (int i = 0; i < cut.size(); ++i)
        record[offset + 1 + i] = cut.at(i);
}

QByteArray takeCounted(const QByteArray &record, int offset)
{
    const int length = qMin<int>(quint8(record.at(offset)), LogOnDetails::kTextCapacity);
    return record.mid(offset + 1, length);
}
} // namespace

QByteArray LogOnDetails::toBytes() const
{
    QByteArray record(kSize, '\0');
    putCounted(record, 0, pin);
    putCounted(record, 17, phoneNumber);
    record[34] = rememberDetails ? 1 : 0;
    record[35] = remote ? 1 : 0;
    qToLittleEndian<qint32>(portNumber, record.data() + 36);
    return record;
}

LogOnDetails LogOnDetails::fromBytes(const QByteArray &bytes)
{
    QByteArray record = bytes.left(kSize);
    record.append(QByteArray(kSize - record.size(), '\0'));
    LogOnDetails details;
    details.pin = takeCounted(record, 0);
    details.phoneNumber = takeCounted(record, 17);
    details.rememberDetails = record.at(34) != 0;
    details.remote = record.at(35) != 0;
    details.portNumber = qFromLittleEndian<qint32>(record.constData() + 36);
    return details;
}

bool LogOnDetails::read(const QString &fileName, LogOnDetails *details)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.read(kSize);
    if (file.error() != QFileDevice::NoError)
        return false;
    *details = fromBytes(bytes);
    return true;
}

bool LogOnDetails::write(const QString &fileName, QString *error) const
{
    const auto result = AtomicFile::write(fileName, toBytes(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (result == AtomicFile::Result::Saved)
        return true;
    if (error)
        *error = QStringLiteral("Cannot create file %1").arg(fileName);
    return false;
}

void StorePortNumber(const QString &fileName, qint32 portNumber)
{
    QFile file(fileName);
    if (!file.exists() || !file.open(QIODevice::ReadWrite))
        return;
    QByteArray record = file.read(LogOnDetails::kSize);
    if (file.error() != QFileDevice::NoError)
        return;
    record.append(QByteArray(LogOnDetails::kSize - record.size(), '\0'));
    qToLittleEndian<qint32>(portNumber, record.data() + 36);
    if (!file.seek(0))
        return;
    file.write(record);
}
