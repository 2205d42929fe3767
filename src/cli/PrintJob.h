#pragma once

#include "cli/CliJob.h"

#include <QByteArray>
#include <QList>

struct Report;

// directory print and parameters print: the phone list for the notice
// board (names and rooms; phone numbers and codes only when asked) and the
// parameter sheet (the gate codes only when asked), as PDF files, from a
// file or, with --from-panel, from what the panel holds.
class PrintJob : public CliJob
{
public:
    using CliJob::CliJob;
    bool needsPanel() const override;
    CliExit prepare(PinSource &pins) override;
    CliExit run() override;

private:
    bool printsDirectory() const;
    CliExit write(const Report &report);

    QList<QList<QByteArray>> entries_; // directory print from a file
};
