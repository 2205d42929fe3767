// The details file "corvalendata3.ini": arbitrary file contents read by
// LogOnDetails::read, written back whole, and given a new port number the
// way the Port menu stores it. The record written is 40 bytes and reads back
// as the same details; a record the program wrote is written back unchanged;
// storing the port touches bytes 36-39 only.
//
// Input: the file.
#include "link/LogOnDetails.h"
#include "support/FuzzCheck.h"
#include "support/FuzzInput.h"
#include "support/ScratchFiles.h"

#include <QtEndian>

namespace {

const QString &scratchFile()
{
    static const QString name = ScratchFiles::path(QLatin1String(LogOnDetails::kFileName));
    return name;
}

bool same(const LogOnDetails &a, const LogOnDetails &b)
{
    return a.pin == b.pin && a.phoneNumber == b.phoneNumber && a.rememberDetails == b.rememberDetails
           && a.remote == b.remote && a.portNumber == b.portNumber;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray file = FuzzInput::bytes(data, size);
    ScratchFiles::put(scratchFile(), file);
    LogOnDetails details;
    FUZZ_CHECK(LogOnDetails::read(scratchFile(), &details));
    FUZZ_CHECK(same(details, LogOnDetails::fromBytes(file)));
    FUZZ_CHECK(details.pin.size() <= LogOnDetails::kTextCapacity);
    FUZZ_CHECK(details.phoneNumber.size() <= LogOnDetails::kTextCapacity);

    const QByteArray record = details.toBytes();
    FUZZ_CHECK(record.size() == LogOnDetails::kSize);
    FUZZ_CHECK(same(LogOnDetails::fromBytes(record), details));
    FUZZ_CHECK(LogOnDetails::fromBytes(record).toBytes() == record);
    if (file.size() == LogOnDetails::kSize && file == record) {
        QString error;
        FUZZ_CHECK(details.write(scratchFile(), &error));
        FUZZ_CHECK(ScratchFiles::get(scratchFile()) == file);
    }

    // The Port menu's choice on the file as it was.
    ScratchFiles::put(scratchFile(), file);
    const qint32 port = qint32(size % 6);
    StorePortNumber(scratchFile(), port);
    const QByteArray stored = ScratchFiles::get(scratchFile());
    FUZZ_CHECK(stored.size() == qMax<qsizetype>(file.size(), LogOnDetails::kSize));
    FUZZ_CHECK(stored.left(36) == (file + QByteArray(36, '\0')).left(36));
    FUZZ_CHECK(qFromLittleEndian<qint32>(stored.constData() + 36) == port);
    FUZZ_CHECK(stored.mid(40) == file.mid(40));
    return 0;
}
