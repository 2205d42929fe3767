#pragma once

#include "link/PanelContent.h"
#include "parameters/ParameterRecordSet.h"

// The panel's parameter records as what is kept before Write All: a
// parameter file (".sys", which the parameter page opens) and beside it the
// records 0001-0010 as the panel held them (".records"): the ".sys" file
// lacks some values of record 0001 (ring counts, timers, an option), so
// putting it back writes the records, not the file.
class ParameterBackupContent : public PanelContent
{
public:
    explicit ParameterBackupContent(ParameterRecordSet written) : written_(std::move(written)) {}

    Kind kind() const override { return Kind::Parameters; }
    QString what() const override { return QStringLiteral("parameters"); }
    std::optional<Held> readHeld(CommandExchange &link, QString *why) const override;

    // "d00010010": the parameter records 0001 to 0010 (never the PIN), up to
    // 100 steps of 86.4 ms.
    static std::optional<ParameterRecordSet> readPanel(CommandExchange &link, QString *why);

    static QList<File> files(const ParameterRecordSet &records);
    // The records present in a kept ".records" file; -1 when it is not one.
    static int count(const QByteArray &records);

private:
    ParameterRecordSet written_;
};
