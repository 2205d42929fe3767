#include "cli/EventQueryJob.h"

#include "archive/ArchiveExport.h"
#include "archive/ArchiveSelection.h"
#include "archive/EventArchive.h"
#include "archive/EventReport.h"
#include "cli/CliConsole.h"
#include "cli/CliOptions.h"
#include "cli/CliPrompt.h"
#include "cli/CliSession.h"
#include "cli/CliSummary.h"
#include "cli/ConsoleDevice.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>

namespace {

std::optional<QDate> dateOf(const QString &option, const QString &text, QString *error)
{
    if (text.isNull())
        return std::nullopt;
    const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid() && error->isEmpty())
        *error = QStringLiteral("%1 %2: not a date; give it as YYYY-MM-DD (2026-03-01)").arg(option, text);
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

// The separator a spreadsheet of the user's locale expects.
char csvSeparator()
{
    return QLocale().decimalPoint() == QLatin1String(",") ? ';' : ',';
}

} // namespace

EventFilter EventQueryJob::filterOf(const CliRecordOptions &options, QString *error)
{
    EventFilter filter;
    filter.from = dateOf(QStringLiteral("--from"), options.from, error);
    filter.to = dateOf(QStringLiteral("--to"), options.to, error);
    if (error->isEmpty() && filter.from && filter.to && *filter.from > *filter.to)
        *error = QStringLiteral("--from %1 is after --to %2").arg(options.from, options.to);
    if (!options.kind.isNull()) {
        filter.kind = EventKinds::parse(options.kind);
        if (!filter.kind && error->isEmpty())
            *error = QStringLiteral("--kind %1: the kinds are room, InCall, Butt. and error").arg(options.kind);
    }
    if (!options.source.isNull()) {
        filter.source = EventSources::parse(options.source);
        if (!filter.source && error->isEmpty())
            *error = QStringLiteral("--source %1: the sources are local, Remote, RF-ID and Error").arg(options.source);
    }
    filter.text = options.room;
    return filter;
}

CliExit EventQueryJob::prepare(PinSource &)
{
    QString error;
    filter_ = filterOf(options_.records, &error);
    if (!error.isEmpty()) {
        session_.prompt().error(error);
        return CliExit::Usage;
    }
    return CliExit::Done;
}

bool EventQueryJob::printRows(ArchiveSelection &selection, QString *error)
{
    return selection.forEach(
        [this](const ArchivedEvent &e) {
            const QString line = QStringLiteral("%1  %2  %3  %4  %5  %6")
                                     .arg(e.dateText(), -10)
                                     .arg(e.timeText(), -8)
                                     .arg(QString::fromLatin1(e.room), -8)
                                     .arg(QString::fromLatin1(e.relay), -1)
                                     .arg(EventSources::name(e.source), -6)
                                     .arg(QString::fromLatin1(e.clientText()));
            console_.out((line.trimmed() + QLatin1Char('\n')).toLocal8Bit());
            return true;
        },
        error);
}

CliExit EventQueryJob::run()
{
    CliPrompt &prompt = session_.prompt();
    const QString folder = session_.recordsFolder();
    // A folder without an archive selects nothing; the query makes none.
    QTemporaryDir empty;
    const bool kept = QFileInfo::exists(QDir(folder).filePath(QLatin1String(EventArchive::kFileName)));
    EventArchive archive(kept ? folder : empty.path());
    QString error;
    if (!archive.open(&error)) {
        prompt.error(error);
        return CliExit::Refused;
    }
    ArchiveSelection selection(archive);
    if (!selection.select(filter_, &error)) {
        prompt.error(error);
        return CliExit::Refused;
    }
    summary_.counts.insert(QStringLiteral("events"), double(selection.count()));
    const CliRecordOptions &o = options_.records;
    if (!o.csv.isEmpty() && !ArchiveExport::saveCsv(selection, o.csv, csvSeparator(), &error)) {
        prompt.error(error);
        return CliExit::Refused;
    }
    if (!o.pdf.isEmpty() && !EventReport::writePdf(selection, QString(), o.pdf, &error)) {
        prompt.error(error);
        return CliExit::Refused;
    }
    // With a file to write, standard output lists the events only when asked (--json).
    if (options_.json) {
        ConsoleDevice out(console_);
        if (!ArchiveExport::writeJson(selection, out, &error)) {
            prompt.error(error);
            return CliExit::Refused;
        }
    } else if (o.csv.isEmpty() && o.pdf.isEmpty() && !printRows(selection, &error)) {
        prompt.error(error);
        return CliExit::Refused;
    }
    prompt.message(QStringLiteral("%1 event(s) selected.").arg(selection.count()));
    return CliExit::Done;
}
