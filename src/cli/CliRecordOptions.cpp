#include "cli/CliRecordOptions.h"

#include <QList>
#include <QPair>

namespace {

using Job = CliCommand::Job;

// Which commands an option belongs to.
struct OptionUse
{
    const char *name;
    QList<Job> jobs;
};

} // namespace

bool CliRecordOptions::take(const QStringList &args, qsizetype &i, QString *error)
{
    const QString &arg = args.at(i);
    const QList<QPair<const char *, bool *>> flags = {
        {"--with-phones", &withPhones}, {"--with-codes", &withCodes}, {"--from-panel", &fromPanel}};
    for (const auto &[name, flag] : flags) {
        if (arg == QLatin1String(name)) {
            *flag = true;
            return true;
        }
    }
    const QList<QPair<const char *, QString *>> values = {{"--kind", &kind}, {"--from", &from},     {"--to", &to},
                                                          {"--room", &room}, {"--source", &source}, {"--csv", &csv},
                                                          {"--pdf", &pdf}};
    for (const auto &[name, value] : values) {
        const QString option = QLatin1String(name);
        if (arg == option) {
            if (i + 1 >= args.size())
                *error = QStringLiteral("%1 needs a value").arg(option);
            else
                *value = args.at(++i);
            return true;
        }
        if (arg.startsWith(option + QLatin1Char('='))) {
            *value = arg.mid(option.size() + 1);
            return true;
        }
    }
    return false;
}

QString CliRecordOptions::check(const CliCommand &command, const QStringList &operands) const
{
    const QList<OptionUse> uses = {
        {"--kind", {Job::History, Job::EventsQuery}},
        {"--from", {Job::EventsQuery}},
        {"--to", {Job::EventsQuery}},
        {"--room", {Job::EventsQuery}},
        {"--source", {Job::EventsQuery}},
        {"--csv", {Job::EventsQuery}},
        {"--pdf", {Job::EventsQuery, Job::DirectoryPrint, Job::ParametersPrint}},
        {"--with-phones", {Job::DirectoryPrint}},
        {"--with-codes", {Job::DirectoryPrint, Job::ParametersPrint}},
        {"--from-panel", {Job::DirectoryPrint, Job::ParametersPrint}},
    };
    const QList<bool> given = {!kind.isNull(), !from.isNull(), !to.isNull(), !room.isNull(), !source.isNull(),
                               !csv.isNull(),  !pdf.isNull(),  withPhones,   withCodes,      fromPanel};
    for (qsizetype n = 0; n < uses.size(); ++n)
        if (given.at(n) && !uses.at(n).jobs.contains(command.job))
            return QStringLiteral("%1 is not an option of %2").arg(QLatin1String(uses.at(n).name), command.name());

    const bool prints = command.job == Job::DirectoryPrint || command.job == Job::ParametersPrint;
    if (prints) {
        if (pdf.isEmpty())
            return QStringLiteral("%1 needs --pdf OUT.pdf").arg(command.name());
        if (fromPanel && !operands.isEmpty())
            return QStringLiteral("%1 prints either a file or, with --from-panel, the panel: not both")
                .arg(command.name());
        if (!fromPanel && operands.isEmpty())
            return QStringLiteral("%1 needs a file, or --from-panel: %1 %2 --pdf OUT.pdf")
                .arg(command.name(), command.operandNames().value(0).remove(QLatin1Char('[')).remove(QLatin1Char(']')));
    }
    if (command.job == Job::History && !kind.isNull()
        && !QStringList{QStringLiteral("directory"), QStringLiteral("parameters"), QStringLiteral("tags")}.contains(kind))
        return QStringLiteral("--kind %1: the history's kinds are directory, parameters and tags").arg(kind);
    return {};
}
