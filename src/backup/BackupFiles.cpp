#include "backup/BackupFiles.h"

#include "directory/PhoneFields.h"
#include "link/UserPrompt.h"
#include "parameters/ParameterControls.h"
#include "parameters/ParameterFile.h"
#include "parameters/ParameterRecords.h"
#include "parameters/SystemParameters.h"
#include "table/Table.h"
#include "table/TableFile.h"

namespace BackupFiles {

namespace {
// Decoding into scratch controls must not open message boxes.
class SilentPrompt : public UserPrompt
{
public:
    void message(const QString &, Kind) override {}
    bool ask(const QString &, Kind) override { return false; }
};
} // namespace

QList<BackupStore::File> directoryFiles(const QList<PanelEntry> &entries)
{
    Table table;
    table.redefine(PhoneFields::definition());
    table.open();
    for (const PanelEntry &e : entries)
        table.appendRecord({e.Name, e.RoomNumber, e.PHnumber, e.Code1, e.Code2, e.Spare, QByteArray(), e.SlotAddress});
    return {{QStringLiteral("csv"), TableFile::format(table)}};
}


QList<BackupStore::File> parameterFiles(const ParameterRecordSet &records)
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

QList<BackupStore::File> tagFiles(const StoreImage &image)
{
    return {{QStringLiteral("rfid"), image.toFile()}};
}

QList<PanelEntry> directoryEntries(const QByteArray &csv)
{
    QList<PanelEntry> out;
    for (const QList<QByteArray> &row : TableFile::parse(csv, PhoneFields::definition()))
        out.append({row.value(7), row.value(1), row.value(3), row.value(4), row.value(5), row.value(2), row.value(0)});
    return out;
}

} // namespace BackupFiles
