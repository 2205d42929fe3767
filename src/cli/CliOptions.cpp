#include "cli/CliOptions.h"

#include "link/PortAddress.h"

namespace {

// "--name=value" or "--name value"; false when the option is not `name`.
bool takeValue(const QStringList &args, qsizetype &i, const QString &name, QString *value, QString *error)
{
    const QString &arg = args.at(i);
    if (arg == name) {
        if (i + 1 >= args.size()) {
            *error = QStringLiteral("%1 needs a value").arg(name);
            return true;
        }
        *value = args.at(++i);
        return true;
    }
    if (arg.startsWith(name + QLatin1Char('='))) {
        *value = arg.mid(name.size() + 1);
        return true;
    }
    return false;
}

} // namespace

CliOptions CliOptions::parse(QStringList args, const DeviceMap &devices)
{
    CliOptions o;
    o.devices = devices;
    if (!o.devices.applyArguments(args, &o.error))
        return o;

    QStringList words;
    bool portGiven = false;
    for (qsizetype i = 0; i < args.size() && o.error.isEmpty(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            o.help = true;
        } else if (arg == QLatin1String("--version")) {
            o.version = true;
        } else if (arg == QLatin1String("--json")) {
            o.json = true;
        } else if (arg == QLatin1String("--quiet") || arg == QLatin1String("-q")) {
            o.quiet = true;
        } else if (arg == QLatin1String("--strict")) {
            o.strict = true;
        } else if (arg == QLatin1String("--allow-empty")) {
            o.allowEmpty = true;
        } else if (takeValue(args, i, QStringLiteral("--port"), &o.port, &o.error)) {
            portGiven = true;
        } else if (takeValue(args, i, QStringLiteral("--site"), &o.site, &o.error)) {
            if (o.error.isEmpty() && o.site.trimmed().isEmpty())
                o.error = QStringLiteral("--site needs a site's name");
        } else if (takeValue(args, i, QStringLiteral("--pin-file"), &o.pinFile, &o.error)) {
        } else if (arg == QLatin1String("--pin") || arg.startsWith(QLatin1String("--pin="))) {
            o.error = QStringLiteral("A PIN on the command line can be read by every user of this machine: "
                                     "set CORVALEN_PIN, use --pin-file FILE, or type it when asked");
        } else if (o.records.take(args, i, &o.error)) {
        } else if (arg == QLatin1String("--")) {
            words += args.mid(i + 1);
            break;
        } else if (arg.startsWith(QLatin1Char('-')) && arg != QLatin1String("-")) {
            o.error = QStringLiteral("Unknown option %1").arg(arg);
        } else {
            words << arg;
        }
    }
    if (!o.error.isEmpty() || o.version)
        return o;
    if (portGiven && !o.site.isEmpty()) {
        o.error = QStringLiteral("--port and --site both say where the Corvalen is: give one (a site's address "
                                 "is changed with \"sites edit NAME --port ADDRESS\")");
        return o;
    }
    if (!words.isEmpty() && words.first() == QLatin1String("help")) {
        o.help = true;
        words.removeFirst();
    }

    if (words.isEmpty()) {
        if (!o.help)
            o.error = QStringLiteral("No command given");
        return o;
    }
    o.group = words.takeFirst();
    if (!CliCommand::isGroup(o.group)) {
        o.error = QStringLiteral("Unknown command %1").arg(o.group);
        return o;
    }
    if (o.help)
        return o;

    const QString action = (CliCommand::find(o.group, QString()) || words.isEmpty()) ? QString() : words.takeFirst();
    o.command = CliCommand::find(o.group, action);
    if (!o.command) {
        o.error = action.isEmpty() ? QStringLiteral("%1 needs an action").arg(o.group)
                                   : QStringLiteral("Unknown action %1 %2").arg(o.group, action);
        return o;
    }
    const QStringList operandNames = o.command->operandNames();
    if (words.size() < o.command->requiredOperands()) {
        o.error = QStringLiteral("%1 needs %2: %1 %3")
                      .arg(o.command->name(), operandNames.size() > 1 ? QStringLiteral("%1 words").arg(operandNames.size())
                                                                      : QStringLiteral("a file"),
                           QLatin1String(o.command->fileArg));
        return o;
    }
    o.operands = words.mid(0, operandNames.size());
    words = words.mid(operandNames.size());
    o.file = o.operands.value(0);
    if (!words.isEmpty()) {
        o.error = QStringLiteral("Too many words after %1: %2").arg(o.command->name(), words.join(QLatin1Char(' ')));
        return o;
    }
    o.error = o.records.check(*o.command, o.operands);
    if (!o.error.isEmpty())
        return o;
    if (o.allowEmpty && o.command->job != CliCommand::Job::RfidPut) {
        o.error = QStringLiteral("--allow-empty is for rfid put only");
        return o;
    }

    QString why;
    if (!PortAddress::parse(o.port, &why))
        o.error = QStringLiteral("--port %1: %2").arg(o.port, why);
    return o;
}
