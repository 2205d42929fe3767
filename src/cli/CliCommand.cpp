#include "cli/CliCommand.h"

QString CliCommand::name() const
{
    QString text = QLatin1String(group);
    if (action[0] != '\0')
        text += QLatin1Char(' ') + QLatin1String(action);
    return text;
}

bool CliCommand::writesPanel() const
{
    switch (job) {
    case Job::DirectoryPut:
    case Job::ParametersPut:
    case Job::PinSet:
    case Job::ClockSet:
    case Job::RfidPut:
    case Job::Restore:
        return true;
    default:
        return false;
    }
}

bool CliCommand::worksOnRecords() const
{
    switch (job) {
    case Job::History:
    case Job::Diff:
    case Job::EventsQuery:
    case Job::DirectoryPrint:
    case Job::ParametersPrint:
        return true;
    default:
        return false;
    }
}

QStringList CliCommand::operandNames() const
{
    return QString::fromLatin1(fileArg).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

int CliCommand::requiredOperands() const
{
    int required = 0;
    for (const QString &name : operandNames())
        required += !name.startsWith(QLatin1Char('['));
    return required;
}

const QList<CliCommand> &CliCommand::all()
{
    using J = Job;
    static const QList<CliCommand> commands = {
        {J::DirectoryGet, "directory", "get", "FILE.csv", "save the panel's phone directory as a phone list",
         "Reads every directory slot of the panel and writes the entries to FILE.csv, the\n"
         "phone list file of the window (comma-separated, one entry a line)."},
        {J::DirectoryPut, "directory", "put", "FILE.csv", "replace the panel's phone directory with a phone list",
         "Erases the panel's directory and writes every entry of FILE.csv, sorted by name,\n"
         "into consecutive slots, as the window's WriteAllData does. The list is checked\n"
         "before the log-on: a file that is not a phone list, or a room that does not fit,\n"
         "is refused; a value that would be cut or dropped is a warning (--strict: refused)."},
        {J::ParametersGet, "parameters", "get", "FILE.sys",
         "save the operating parameters, codes, speed dials and messages",
         "Reads all parameter records (Read All) and writes the parameter file FILE.sys."},
        {J::ParametersPut, "parameters", "put", "FILE.sys", "write a parameter file to the panel",
         "Reads the panel's parameters first, so that what the file does not hold stays as\n"
         "the panel has it, then takes the file's values and writes all records (Write All)."},
        {J::PinSet, "pin", "set", "", "change the panel's PIN",
         "Asks for the new PIN twice without echo (or takes CORVALEN_NEW_PIN) and programs it.\n"
         "The next log-on needs the new PIN."},
        {J::EventsGet, "events", "get", "FILE.Evt", "save the panel's event log with its clock",
         "Reads the panel's clock and event log and writes the event file FILE.Evt: the\n"
         "panel's time and the computer's, then the events."},
        {J::ClockGet, "clock", "get", "", "print the panel's clock",
         "Prints the panel's time and date, and the computer's beside them."},
        {J::ClockSet, "clock", "set", "", "set the panel's clock to the computer's",
         "Sets the panel's clock to the computer's local time and prints it as the panel\n"
         "then reads it."},
        {J::RfidGet, "rfid", "get", "FILE.csv", "save the panel's RFID store as a phone list",
         "Reads the panel's RFID store and writes its codes with their rooms to FILE.csv, a\n"
         "phone list whose entries carry a room and a code each."},
        {J::RfidPut, "rfid", "put", "FILE.csv", "replace the panel's RFID store from a phone list",
         "Erases the panel's RFID store and writes every entry of FILE.csv that has both a\n"
         "room and a code, four to a record, each record read back. A list without any\n"
         "code (the directory's own phone list) is refused unless --allow-empty is given."},
        {J::Identify, "identify", "", "", "log on and print the panel's model",
         "Logs on, prints the model the panel names (Corvalen_1000_Xarn) and logs off.\n"
         "A model the program does not know prints \"unknown\", says on standard error\n"
         "what the panel sent, and ends with status 1."},
        {J::History, "history", "", "", "list the versions kept of the directory, parameters and tags",
         "Lists, newest first, every version the folder's history holds: when, who,\n"
         "through what, what kind, how many entries, what changed since the version\n"
         "before and, for writes, how they ended. --kind directory|parameters|tags\n"
         "lists one kind; --json prints an array of objects instead of columns."},
        {J::Diff, "diff", "", "A B", "compare two versions, files or the panel",
         "Compares A with B entry by entry: each is a version id of the history, a file\n"
         "(a phone list, a parameter file FILE.sys, parameter records, an RFID store\n"
         "file) or \"panel\", what the panel holds now (read after the log-on). Prints\n"
         "the differences (--json: one object). Exit status 0 when there is none, 1 when\n"
         "there are, 3 when the panel cannot be read, 2 for a wrong command line."},
        {J::Restore, "restore", "", "VERSION", "put a version of the history back on the panel",
         "Checks that the version fits the panel's model, keeps what the panel holds in\n"
         "a backup, shows what the restore changes and writes the version, as the\n"
         "window's Restore does."},
        {J::EventsQuery, "events", "query", "", "list the events of the folder's event archive",
         "Lists the archived events that --from DATE, --to DATE (YYYY-MM-DD, both\n"
         "included), --kind room|InCall|Butt.|error, --room TEXT (room or client) and\n"
         "--source local|Remote|RF-ID|Error select, oldest first; --json prints an\n"
         "array of objects, --csv FILE and --pdf FILE save the same selection."},
        {J::DirectoryPrint, "directory", "print", "[FILE.csv]", "print a phone list for the notice board",
         "Writes the phone list FILE.csv (or, with --from-panel, the panel's directory)\n"
         "as a PDF list to --pdf OUT.pdf: names and rooms only; --with-phones adds the\n"
         "telephone numbers, --with-codes the codes."},
        {J::ParametersPrint, "parameters", "print", "[FILE.sys]", "print a parameter sheet",
         "Writes the parameter file FILE.sys (or, with --from-panel, the panel's\n"
         "parameters) as a PDF sheet to --pdf OUT.pdf. Gate codes and the PIN are left\n"
         "out unless --with-codes is given."},
    };
    return commands;
}

const CliCommand *CliCommand::find(const QString &group, const QString &action)
{
    for (const CliCommand &command : all())
        if (group == QLatin1String(command.group) && action == QLatin1String(command.action))
            return &command;
    return nullptr;
}

bool CliCommand::isGroup(const QString &group)
{
    for (const CliCommand &command : all())
        if (group == QLatin1String(command.group))
            return true;
    return false;
}
