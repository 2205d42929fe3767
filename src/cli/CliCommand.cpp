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
        return true;
    default:
        return false;
    }
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
