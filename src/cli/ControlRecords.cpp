#include "cli/ControlRecords.h"

#include "link/UserPrompt.h"
#include "parameters/ParameterControls.h"
#include "parameters/ParameterFile.h"
#include "parameters/ParameterRecords.h"
#include "parameters/SystemParameters.h"

namespace ControlRecords {

namespace {

// Encoding clamps and checks what the controls hold; a caller that needs
// the messages runs the page's own checks first.
class SilentPrompt : public UserPrompt
{
public:
    void message(const QString &, Kind) override {}
    bool ask(const QString &, Kind) override { return true; }
};

} // namespace

ParameterRecordSet encode(ParameterControls &c, const QList<int> &order)
{
    SilentPrompt silent;
    ParameterRecordSet set;
    for (const int record : order) {
        if (record == 1) {
            if (const std::optional<QByteArray> system = SystemParameters::EncodeSystemParameters(c, silent))
                set.setRecord(1, *system);
        } else if (record <= 5) {
            set.setRecord(record, ParameterRecords::EncodeMessages(c, record));
        } else if (record == 6) {
            set.setRecord(6, ParameterRecords::EncodeGateCodes(c));
        } else {
            set.setRecord(record, ParameterRecords::EncodeSpeedDials(c, record));
        }
    }
    return set;
}

bool decode(ParameterControls &c, const ParameterRecordSet &records)
{
    SilentPrompt silent;
    bool whole = true;
    for (int record = ParameterRecordSet::kFirst; record <= ParameterRecordSet::kLast; ++record) {
        if (!records.has(record))
            continue;
        const QByteArray payload = records.record(record);
        if (record == 1)
            whole = SystemParameters::DecodeSystemParameters(c, payload, silent) && whole;
        else if (record <= 5)
            ParameterRecords::DecodeMessages(c, record, payload);
        else if (record == 6)
            ParameterRecords::DecodeGateCodes(c, payload);
        else
            ParameterRecords::DecodeSpeedDials(c, record, payload);
    }
    return whole;
}

std::optional<ParameterRecordSet> fromSysFile(const QString &fileName, const ParameterRecordSet &base,
                                              UserPrompt &prompt)
{
    ParameterControls c;
    decode(c, base);
    if (!ParameterFile::LoadParameterFile(c, fileName, prompt) || !ParameterFile::ApplyParameterFile(c, prompt))
        return std::nullopt;
    return encode(c);
}

bool isSysFile(const QString &fileName)
{
    return fileName.endsWith(QLatin1String(".sys"), Qt::CaseInsensitive);
}

} // namespace ControlRecords
