#include "cli/SitesBackupArgs.h"

#include "cli/SitesBackup.h"

SitesBackupArgs SitesBackupArgs::parse(const QStringList &args)
{
    SitesBackupArgs a;
    QString first;
    bool seenGroup = false;
    // The action is the first word after "sites"; anything else is not ours.
    for (const QString &arg : args) {
        if (arg.startsWith(QLatin1Char('-')))
            continue;
        if (!seenGroup && arg == QLatin1String("sites")) {
            seenGroup = true;
            continue;
        }
        first = arg;
        break;
    }
    if (first != QLatin1String("backup") && first != QLatin1String("backup-one"))
        return a;
    a.action = first;
    seenGroup = false;
    bool seenAction = false;
    for (qsizetype i = 0; i < args.size() && a.error.isEmpty(); ++i) {
        const QString &arg = args.at(i);
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        const QString option = arg.startsWith(QLatin1String("--")) && eq > 0 ? arg.left(eq) : arg;
        const auto value = [&]() -> QString {
            if (eq > 0 && option != arg)
                return arg.mid(eq + 1);
            if (i + 1 < args.size())
                return args.at(++i);
            a.error = QStringLiteral("%1 needs a value").arg(option);
            return {};
        };
        if (arg == QLatin1String("--all")) {
            a.all = true;
        } else if (arg == QLatin1String("--json")) {
            a.json = true;
        } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            a.help = true;
        } else if (arg == QLatin1String("--quiet") || arg == QLatin1String("-q")) {
        } else if (option == QLatin1String("--parallel")) {
            const QString n = value();
            bool ok = false;
            a.parallel = n.toInt(&ok);
            if (a.error.isEmpty() && (!ok || a.parallel < 1 || a.parallel > SitesBackup::kMaxParallel))
                a.error = QStringLiteral("--parallel takes a number from 1 to %1, not \"%2\"")
                              .arg(SitesBackup::kMaxParallel)
                              .arg(n);
        } else if (option == QLatin1String("--book")) {
            a.book = value();
        } else if (arg.startsWith(QLatin1Char('-')) && arg != QLatin1String("--")) {
            a.error = QStringLiteral("Unknown option %1 for sites %2").arg(arg, a.action);
        } else if (!seenGroup && arg == QLatin1String("sites")) {
            seenGroup = true;
        } else if (!seenAction && arg == a.action) {
            seenAction = true;
        } else if (arg != QLatin1String("--")) {
            a.names << arg;
        }
    }
    if (!a.error.isEmpty() || a.help)
        return a;
    if (a.action == QLatin1String("backup-one")) {
        if (a.names.size() != 1)
            a.error = QStringLiteral("sites backup-one needs one site's name");
    } else if (a.all && !a.names.isEmpty()) {
        a.error = QStringLiteral("sites backup takes --all or the sites' names, not both");
    } else if (!a.all && a.names.isEmpty()) {
        a.error = QStringLiteral("sites backup needs --all or the names of the sites to back up");
    }
    return a;
}
