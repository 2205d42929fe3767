#include "cli/CliHelp.h"

#include "cli/CliCommand.h"

namespace CliHelp {

namespace {

QString commandLine(const CliCommand &c)
{
    QString text = c.name();
    if (c.takesFile())
        text += QLatin1Char(' ') + QLatin1String(c.fileArg);
    return text;
}

const char *kOptions =
    "Options:\n"
    "  --port PORT        the panel's line: COM1 to COM4 as the window maps them\n"
    "                     (its Device... choices, then $CORVALEN_COM1 ...), a\n"
    "                     device (/dev/ttyUSB0), tcp://HOST:PORT (a serial server in\n"
    "                     raw mode) or rfc2217://HOST:PORT; COM2 when not given\n"
    "  --site NAME        work on a site of the site book: its address, its PIN\n"
    "                     (unless --pin-file or $CORVALEN_PIN gives one) and its\n"
    "                     folder, where its backups are kept ('sites --help')\n"
    "  --com1=DEVICE ...  the device of COM1 to COM4 (over $CORVALEN_COM1 ...)\n"
    "  --pin-file FILE    read the PIN from the first line of FILE, which only its\n"
    "                     owner may read (chmod 600)\n"
    "  --json             print a one-object summary on standard output (on standard\n"
    "                     error, as its last line, when a get writes to -)\n"
    "  -q, --quiet        no progress on standard error (warnings and errors stay)\n"
    "  --strict           refuse a put whose list would not reach the panel as it\n"
    "                     stands (a value cut, dropped or replaced: see the warnings)\n"
    "  --allow-empty      let rfid put write a list without codes, emptying the\n"
    "                     panel's RFID store\n"
    "  --kind K           history: directory, parameters or tags; events query:\n"
    "                     room, InCall, Butt. or error\n"
    "  --from DATE, --to DATE\n"
    "                     events query: the first and last day (YYYY-MM-DD)\n"
    "  --room TEXT        events query: rooms and clients containing TEXT\n"
    "  --source S         events query: local, Remote, RF-ID or Error\n"
    "  --csv FILE         events query: save the selection as a spreadsheet list\n"
    "  --pdf FILE         events query, directory print, parameters print: the\n"
    "                     printed list as a PDF file\n"
    "  --with-phones      directory print: the telephone numbers too\n"
    "  --with-codes       directory print: the codes; parameters print: the gate codes\n"
    "  --from-panel       print what the panel holds instead of a file\n"
    "  -h, --help         show this text (after a command: the command's text)\n"
    "  --version          show the version\n";

const char *kPinAndExit =
    "The PIN:\n"
    "  from --pin-file FILE, else from $CORVALEN_PIN, else asked on the terminal\n"
    "  without echo. It is never taken from the command line, where every user of\n"
    "  the machine could read it. A new PIN (pin set) comes from $CORVALEN_NEW_PIN\n"
    "  or is asked twice.\n"
    "\n"
    "FILE:\n"
    "  \"-\" is standard output for a get and standard input for a put. A put takes\n"
    "  only a phone list (this program's, or a spreadsheet's whose columns it knows) and\n"
    "  checks it before the log-on: a room that does not fit (1 to 6 digits) refuses\n"
    "  it; a value that would be cut or dropped is a warning naming row and field.\n"
    "\n"
    "Records:\n"
    "  Every complete read and every write of the directory, the parameters and the\n"
    "  RFID store, and every backup taken before a write, is a version in the\n"
    "  history of the working folder (history.sqlite); every event download goes\n"
    "  into its event archive (events.sqlite). history, diff without \"panel\",\n"
    "  events query and the prints of files need no panel and no PIN.\n"
    "\n"
    "Exit status:\n"
    "  0  done (diff: no difference)\n"
    "  1  the panel refused, or a check failed (a file or a value); see the message;\n"
    "     diff: the two sides differ;\n"
    "     or SIGINT or SIGTERM stopped the job: it ends after the record it is\n"
    "     writing, logs off and says what was written (a second signal ends it at once)\n"
    "  2  usage: the command line was wrong, nothing was tried\n"
    "  3  the link failed: the port did not open, the panel did not answer, or the\n"
    "     line was lost\n"
    "\n"
    "Messages and progress go to standard error: a bar with the time left on a\n"
    "terminal, one line a stage otherwise; warnings begin with \"Warning: \". Files\n"
    "are replaced whole or not at all: a get that fails leaves an existing file as\n"
    "it was.\n";

} // namespace

QString usage(const QString &program)
{
    QString text = QStringLiteral("Usage: %1 [OPTIONS] COMMAND [FILE]\n"
                                  "Does one job on a Corvalen Xarn door-entry panel: logs on, reads or writes,\n"
                                  "logs off. The same procedures, checks and messages as corvalen-pro.\n"
                                  "\n"
                                  "Commands:\n")
                       .arg(program);
    // The summaries in one column, two blanks after the longest command.
    qsizetype width = 0;
    for (const CliCommand &c : CliCommand::all())
        width = qMax(width, commandLine(c).size() + 2);
    for (const CliCommand &c : CliCommand::all())
        text += QStringLiteral("  %1%2\n").arg(commandLine(c), -int(width)).arg(QLatin1String(c.summary));
    text += QStringLiteral("  %1%2\n").arg(QStringLiteral("sites ACTION ..."), -int(width)).arg(QStringLiteral("the site book: add, list, show, edit, remove, pin, import, export, backup"));
    text += QLatin1Char('\n') + QLatin1String(kOptions) + QLatin1Char('\n') + QLatin1String(kPinAndExit);
    text += QStringLiteral("\nExamples:\n"
                           "  %1 --port /dev/ttyUSB0 directory get gate.csv\n"
                           "  CORVALEN_PIN=1234 %1 --port tcp://10.0.0.7:4001 events get night.Evt\n"
                           "  %1 --pin-file ~/.corvalen-pin --json parameters put site.sys\n"
                           "  %1 diff 12 panel\n"
                           "  %1 events query --from 2026-03-07 --to 2026-03-08 --source RF-ID --pdf night.pdf\n"
                           "  %1 sites backup --all --parallel 4\n"
                           "\n"
                           "Every site backed up every night (the package's systemd user timer):\n"
                           "  systemctl --user enable --now corvalen-backup.timer\n"
                           "and what its last runs said: journalctl --user -u corvalen-backup\n"
                           "\n"
                           "'%1 COMMAND --help' tells more of a command.\n")
                .arg(program);
    return text;
}

QString groupUsage(const QString &program, const QString &group)
{
    QString text;
    for (const CliCommand &c : CliCommand::all()) {
        if (group != QLatin1String(c.group))
            continue;
        QString summary = QString::fromLatin1(c.summary);
        summary[0] = summary.at(0).toUpper();
        text += QStringLiteral("Usage: %1 [OPTIONS] %2\n%3.\n%4\n\n")
                    .arg(program, commandLine(c), summary, QLatin1String(c.details));
    }
    return text + QLatin1String(kOptions) + QLatin1Char('\n') + QLatin1String(kPinAndExit);
}

QString version(const QString &program)
{
    return QStringLiteral("%1 %2\n").arg(program, QStringLiteral(CORVALEN_VERSION));
}

QString tryHelp(const QString &program)
{
    return QStringLiteral("Try '%1 --help'.\n").arg(program);
}

} // namespace CliHelp
