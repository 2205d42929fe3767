#include "cli/SitesCommand.h"

#include "cli/CliConsole.h"
#include "cli/CliExit.h"
#include "cli/CliHelp.h"
#include "cli/SitesBackup.h"
#include "sites/SiteBook.h"

namespace {

const QStringList kValueOptions = {QStringLiteral("--port"),     QStringLiteral("--notes"),
                                   QStringLiteral("--name"),     QStringLiteral("--folder"),
                                   QStringLiteral("--pin-file"), QStringLiteral("--keep"),
                                   QStringLiteral("--site")};

QByteArray text(const QString &line)
{
    return (line + QLatin1Char('\n')).toLocal8Bit();
}

} // namespace


SitesCommand::SitesCommand(CliConsole &console, const QProcessEnvironment &environment, const QString &bookFile)
    : console_(console)
    , environment_(environment)
    , bookFile_(bookFile)
{
}

bool SitesCommand::wants(const QStringList &args)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--"))
            return args.value(i + 1) == QLatin1String("sites");
        if (kValueOptions.contains(arg)) {
            ++i;
            continue;
        }
        if (arg.startsWith(QLatin1Char('-')) && arg != QLatin1String("-"))
            continue;
        if (arg == QLatin1String("help"))
            return args.mid(i + 1).contains(QLatin1String("sites"));
        return arg == QLatin1String("sites");
    }
    return false;
}

QString SitesCommand::usage(const QString &program)
{
    return QStringLiteral(
               "Usage: %1 sites ACTION ...\n"
               "The site book: every building's panel by the name people call it, its address,\n"
               "notes, folder and what the program learned of it. Nothing here talks to a panel.\n"
               "\n"
               "  sites add NAME --port ADDRESS [--notes TEXT] [--folder DIR]\n"
               "  sites list [--json]          name, address, model, last contact, last backup\n"
               "  sites show NAME [--json]\n"
               "  sites edit NAME [--name NEW] [--port ADDRESS] [--notes TEXT]\n"
               "  sites remove NAME            the site's folder and its files stay\n"
               "  sites pin NAME               remember the site's PIN: asked twice without echo\n"
               "                               (or $CORVALEN_NEW_PIN), or read from --pin-file FILE;\n"
               "                               --keep keyring|file|none chooses where (the desktop's\n"
               "                               keyring by default; file: %2 in the site's folder,\n"
               "                               for jobs without a desktop); --forget removes it\n"
               "  sites import FILE.csv        add and update sites from a spreadsheet list\n"
               "  sites export FILE.csv        the book as a spreadsheet list (no PINs)\n"
               "  sites backup --all | NAME... [--parallel N] [--json]\n"
               "                               read every chosen site's directory, parameters, RFID\n"
               "                               store and event log into its history and event archive\n"
               "                               (nothing is written to a panel); sites in parallel, %3 at\n"
               "                               a time unless --parallel says; the PIN from the keyring,\n"
               "                               else the site's PIN file. Exit 0 all backed up, 1 any\n"
               "                               failed, 3 none reached. Every night, unattended:\n"
               "                                 systemctl --user enable --now corvalen-backup.timer\n"
               "                               and the last run: journalctl --user -u corvalen-backup\n"
               "\n"
               "Then '%1 --site NAME COMMAND ...' works on that site's panel: its address, its\n"
               "PIN (unless --pin-file or $CORVALEN_PIN gives one) and its folder, where its\n"
               "backups are kept. Exit status 2 for an unknown site, with the names that come close.\n")
        .arg(program, QLatin1String(Site::kDefaultPinFileName))
        .arg(SitesBackup::kDefaultParallel);
}

int SitesCommand::usageError(const QString &error, const QString &program)
{
    console_.err(text(program + QStringLiteral(": ") + error) + CliHelp::tryHelp(program).toLocal8Bit());
    return exitStatus(CliExit::Usage);
}

int SitesCommand::refused(const QString &error)
{
    QString plain = error;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    console_.err(text(plain));
    return exitStatus(CliExit::Refused);
}

bool SitesCommand::findSite(SiteBook &book, const QString &name, Site *site, int *status, const QString &program)
{
    QString error;
    if (!book.load(&error)) {
        *status = refused(error);
        return false;
    }
    if (const std::optional<Site> found = book.byName(name)) {
        *site = *found;
        return true;
    }
    QString message = QStringLiteral("No site \"%1\" in the site book").arg(name);
    const QStringList close = book.closeNames(name);
    if (!close.isEmpty())
        message += QStringLiteral("; did you mean: %1?").arg(close.join(QStringLiteral(", ")));
    *status = usageError(message, program);
    return false;
}

int SitesCommand::run(const QStringList &args, const QString &program)
{
    Words w;
    bool seenGroup = false;
    for (qsizetype i = 0; i < args.size() && w.error.isEmpty(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--json")) {
            w.json = true;
        } else if (arg == QLatin1String("--forget")) {
            w.forget = true;
        } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            w.help = true;
        } else if (arg == QLatin1String("--quiet") || arg == QLatin1String("-q")) {
        } else if (arg.startsWith(QLatin1String("--")) && arg.size() > 2) {
            const qsizetype eq = arg.indexOf(QLatin1Char('='));
            const QString option = eq < 0 ? arg : arg.left(eq);
            if (!kValueOptions.contains(option) || option == QLatin1String("--site"))
                w.error = QStringLiteral("Unknown option %1 for sites").arg(arg);
            else if (eq >= 0)
                w.values.insert(option, arg.mid(eq + 1));
            else if (i + 1 < args.size())
                w.values.insert(option, args.at(++i));
            else
                w.error = QStringLiteral("%1 needs a value").arg(option);
        } else if (!seenGroup && arg == QLatin1String("sites")) {
            seenGroup = true;
        } else if (w.action.isEmpty() && arg != QLatin1String("--")) {
            w.action = arg;
        } else if (arg != QLatin1String("--")) {
            w.names << arg;
        }
    }
    if (w.help || w.action == QLatin1String("help")) {
        console_.out(usage(program).toLocal8Bit());
        return exitStatus(CliExit::Done);
    }
    if (!w.error.isEmpty())
        return usageError(w.error, program);

    struct Action
    {
        const char *name;
        int words;                        // NAME or FILE after the action
        QStringList options;              // the value options it takes
        int (SitesCommand::*plain)(const Words &);
        int (SitesCommand::*named)(const Words &, const QString &);
    };
    const QList<Action> actions = {
        {"add", 1, {"--port", "--notes", "--folder"}, nullptr, &SitesCommand::add},
        {"list", 0, {}, &SitesCommand::list, nullptr},
        {"show", 1, {}, nullptr, &SitesCommand::show},
        {"edit", 1, {"--name", "--port", "--notes"}, nullptr, &SitesCommand::edit},
        {"remove", 1, {}, nullptr, &SitesCommand::remove},
        {"pin", 1, {"--pin-file", "--keep"}, nullptr, &SitesCommand::pin},
        {"import", 1, {}, &SitesCommand::importList, nullptr},
        {"export", 1, {}, &SitesCommand::exportList, nullptr},
    };
    if (w.action.isEmpty())
        return usageError(QStringLiteral("sites needs an action: add, list, show, edit, remove, pin, import or export"),
                          program);
    for (const Action &a : actions) {
        if (w.action != QLatin1String(a.name))
            continue;
        if (w.names.size() != a.words)
            return usageError(a.words == 0 ? QStringLiteral("Too many words after sites %1: %2")
                                                 .arg(w.action, w.names.join(QLatin1Char(' ')))
                                           : QStringLiteral("sites %1 needs one %2 (put a name with blanks in "
                                                            "quotes)")
                                                 .arg(w.action, a.plain ? QStringLiteral("file") : QStringLiteral("site's name")),
                              program);
        for (auto it = w.values.cbegin(); it != w.values.cend(); ++it)
            if (!a.options.contains(it.key()))
                return usageError(QStringLiteral("%1 is not an option of sites %2").arg(it.key(), w.action), program);
        if (w.forget && w.action != QLatin1String("pin"))
            return usageError(QStringLiteral("--forget is for sites pin only"), program);
        if (w.json && w.action != QLatin1String("list") && w.action != QLatin1String("show"))
            return usageError(QStringLiteral("--json is for sites list and sites show"), program);
        return a.plain ? (this->*a.plain)(w) : (this->*a.named)(w, program);
    }
    return usageError(QStringLiteral("Unknown action sites %1").arg(w.action), program);
}
