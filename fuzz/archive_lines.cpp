// The event archive on arbitrary lines: where a download meets the archive's
// end, and what is kept of each line. The overlap is the longest start of the
// download that is the archive's end (checked against the definition itself);
// every line decodes to fields within their widths, a full date no more than
// a year after the download, and a second of the day.
//
// Input: the archive's last lines, then "===", then the download's lines,
// LF between lines.
#include "archive/ArchiveLine.h"
#include "archive/ArchiveOverlap.h"
#include "support/FuzzCheck.h"
#include "support/FuzzInput.h"

namespace {

QList<QByteArray> keys(const QByteArray &text)
{
    QList<QByteArray> out;
    if (text.isEmpty())
        return out;
    for (const QByteArray &line : text.split('\n'))
        out << ArchiveOverlap::matchKey(line);
    return out;
}

qsizetype longestByDefinition(const QList<QByteArray> &tail, const QList<QByteArray> &download)
{
    for (qsizetype k = qMin(tail.size(), download.size()); k > 0; --k)
        if (download.mid(0, k) == tail.mid(tail.size() - k))
            return k;
    return 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<QByteArray> parts = FuzzInput::parts(FuzzInput::bytes(data, size), 2);
    const QByteArray tailText = parts.value(0);
    const QByteArray downloadText = parts.value(1);
    const QList<QByteArray> tail = keys(tailText);
    const QList<QByteArray> download = keys(downloadText);
    if (tail.size() + download.size() > 2000)
        return 0; // the definition is quadratic
    FUZZ_CHECK(ArchiveOverlap::overlap(tail, download) == longestByDefinition(tail, download));

    const QDate reference(2026, 3, 10);
    for (const QByteArray &line : downloadText.split('\n')) {
        const ArchiveLine e = ArchiveLine::decode(line, reference);
        FUZZ_CHECK(e.room.size() <= 6);
        FUZZ_CHECK(e.client.size() <= 16);
        FUZZ_CHECK(e.relay.size() <= 1);
        if (e.fullDate) {
            FUZZ_CHECK(e.fullDate->isValid());
            FUZZ_CHECK(e.fullDate->year() <= 2027 && e.fullDate->year() >= 1928);
        }
        if (e.second)
            FUZZ_CHECK(*e.second >= 0 && *e.second < 86400);
        if (!e.decoded)
            FUZZ_CHECK(!e.fullDate || !e.second);
    }
    return 0;
}
