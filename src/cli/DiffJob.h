#pragma once

#include "cli/CliJob.h"
#include "history/HistoryContent.h"

#include <optional>

// diff A B: two versions, files or the panel compared entry by entry. Each
// side is a version id of the folder's history, a file (a phone list, a
// ".sys" parameter file, parameter records, an RFID store file) or "panel":
// what the panel holds now, of the other side's kind. Exit 0 when the two
// are the same, 1 when they differ, 3 when the panel could not be read, 2
// when a side cannot be read at all.
class DiffJob : public CliJob
{
public:
    using CliJob::CliJob;
    bool needsPanel() const override;
    CliExit prepare(PinSource &pins) override;
    CliExit run() override;

private:
    static bool isPanel(const QString &side);
    // A version id or a file other than ".sys".
    std::optional<HistoryContent::Parsed> readSide(const QString &side);
    // A ".sys" side over the other side's records.
    std::optional<HistoryContent::Parsed> readSysSide(const QString &side,
                                                      const std::optional<HistoryContent::Parsed> &other);
    std::optional<HistoryContent::Parsed> readPanel(BackupKind kind);

    std::optional<HistoryContent::Parsed> sides_[2];
};
