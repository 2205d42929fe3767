#include "parameters/ParameterBackupContent.h"

#include "link/BulkReply.h"
#include "link/UserPrompt.h"
#include "link/WholeReply.h"
#include "parameters/ParameterComparison.h"
#include "parameters/ParameterControls.h"
#include "parameters/ParameterFile.h"
#include "parameters/ParameterRecords.h"
#include "parameters/SystemParameters.h"

namespace {
// Decoding into scratch controls must not open message boxes.
class SilentPrompt : public UserPrompt
{
public:
    void message(const QString &, Kind) override {}
    bool ask(const QString &, Kind) override { return false; }
};
} // namespace

std::optional<PanelContent::Held> ParameterBackupContent::readHeld(CommandExchange &link, QString *why) const
{
    const std::optional<ParameterRecordSet> records = readPanel(link, why);
    if (!records)
        return std::nullopt;
    return Held{files(*records), ParameterRecordSet::kLast,
                ParameterComparison::text(ParameterComparison::changes(*records, written_))};
}

std::optional<ParameterRecordSet> ParameterBackupContent::readPanel(CommandExchange &link, QString *why)
{
    const std::optional<QByteArray> reply = WholeReply::read(link, "d00010010", 100, 40, why);
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

QList<PanelContent::File> ParameterBackupContent::files(const ParameterRecordSet &records)
{
    ParameterControls controls;
    SilentPrompt silent;
    for (int r = 2; r <= 5; ++r)
        ParameterRecords::DecodeMessages(controls, r, records.record(r));
    ParameterRecords::DecodeGateCodes(controls, records.record(6));
    for (int r = 7; r <= 10; ++r)
        ParameterRecords::DecodeSpeedDials(controls, r, records.record(r));
    SystemParameters::DecodeSystemParameters(controls, records.record(1), silent);
    ParameterFile::CaptureParameterFile(controls);
    return {{QStringLiteral("sys"), controls.fileRecord().bytes()}, {QStringLiteral("records"), records.toFile()}};
}

int ParameterBackupContent::count(const QByteArray &records)
{
    const std::optional<ParameterRecordSet> set = ParameterRecordSet::fromFile(records, nullptr);
    if (!set)
        return -1;
    int n = 0;
    for (int r = ParameterRecordSet::kFirst; r <= ParameterRecordSet::kLast; ++r)
        n += set->has(r) ? 1 : 0;
    return n;
}
