#include "cli/PrintJob.h"

#include "cli/CliOptions.h"
#include "cli/CliProgress.h"
#include "cli/CliPrompt.h"
#include "cli/CliSession.h"
#include "cli/CliSummary.h"
#include "cli/HistoryHook.h"
#include "directory/DirectoryTransfer.h"
#include "directory/PhoneListReport.h"
#include "parameters/ParameterControls.h"
#include "parameters/ParameterFile.h"
#include "parameters/ParameterReads.h"
#include "parameters/ParameterSheet.h"
#include "table/Report.h"

#include <QFileInfo>

bool PrintJob::printsDirectory() const
{
    return options_.command->job == CliCommand::Job::DirectoryPrint;
}

bool PrintJob::needsPanel() const
{
    return options_.records.fromPanel;
}

CliExit PrintJob::prepare(PinSource &)
{
    const QString &pdf = options_.records.pdf;
    const QFileInfo out(pdf);
    if (out.isDir() || !QFileInfo(out.absolutePath()).isDir() || (out.exists() && !out.isWritable())) {
        session_.prompt().error(QStringLiteral("Cannot create file %1").arg(pdf));
        return CliExit::Refused;
    }
    if (options_.records.fromPanel)
        return CliExit::Done;
    // The file is read before anything else: one that cannot be read costs
    // no log-on and writes no PDF.
    if (printsDirectory()) {
        QString error;
        if (!PhoneListReport::readFile(options_.file, &entries_, &error)) {
            session_.prompt().error(error);
            return CliExit::Refused;
        }
        return CliExit::Done;
    }
    ParameterControls &c = session_.controls();
    return ParameterFile::LoadParameterFile(c, options_.file, session_.prompt()) ? CliExit::Done : CliExit::Refused;
}

CliExit PrintJob::write(const Report &report)
{
    session_.progress().stage(QStringLiteral("Writing %1").arg(options_.records.pdf));
    QString error;
    if (stopped() || !ReportPrinter::writePdf(report, options_.records.pdf, &error)) {
        if (!error.isEmpty())
            session_.prompt().error(error);
        return CliExit::Refused;
    }
    summary_.file = QFileInfo(options_.records.pdf).absoluteFilePath();
    return CliExit::Done;
}

CliExit PrintJob::run()
{
    const CliRecordOptions &o = options_.records;
    const QString from = o.fromPanel ? QStringLiteral("the panel") : QFileInfo(options_.file).fileName();
    if (printsDirectory()) {
        if (o.fromPanel) {
            session_.progress().stage(QStringLiteral("Reading the phone directory"));
            if (DirectoryTransfer(session_.ctx()).GetDataClick() != DirectoryTransfer::Outcome::Completed)
                return CliExit::LinkFailed; // "communication error" was shown
            HistoryHook::directoryRead(session_);
            entries_ = PhoneListReport::entriesOf(session_.directory().PhoneTable);
        }
        PhoneListReport::Options options;
        options.from = from;
        options.phoneNumbers = o.withPhones;
        options.codes = o.withCodes;
        summary_.counts.insert(QStringLiteral("entries"), int(entries_.size()));
        return write(PhoneListReport::build(entries_, options));
    }

    ParameterControls &c = session_.controls();
    QList<ParameterSheet::Line> lines;
    if (o.fromPanel) {
        session_.progress().stage(QStringLiteral("Reading the parameters"));
        if (!ParameterReads::readAll(session_.ctx(), c)) {
            session_.prompt().error(QStringLiteral("The Corvalen did not answer every read.\r\nNothing was printed."));
            return CliExit::LinkFailed;
        }
        HistoryHook::parametersRead(session_);
        lines = ParameterSheet::fromControls(c, o.withCodes);
    } else {
        lines = ParameterSheet::fromFileRecord(c.fileRecord(), o.withCodes);
    }
    ParameterSheet::Options options;
    options.from = from;
    options.secrets = o.withCodes;
    return write(ParameterSheet::build(lines, options));
}
