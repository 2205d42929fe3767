#pragma once

#include <QString>
#include <QList>
#include <QStringList>

// The jobs of corvalen-cli: a group and an action ("directory get"), and
// whether the job takes a file. One log-on, one job, one log-off each.
struct CliCommand
{
    enum class Job {
        DirectoryGet,
        DirectoryPut,
        ParametersGet,
        ParametersPut,
        PinSet,
        EventsGet,
        ClockGet,
        ClockSet,
        RfidGet,
        RfidPut,
        Identify,
        History,
        Diff,
        Restore,
        EventsQuery,
        DirectoryPrint,
        ParametersPrint,
    };

    Job job;
    const char *group;
    const char *action;  // empty for a group that is the whole job ("identify")
    // The words after the command: "FILE.csv", "A B"; a word in brackets
    // may be left out ("[FILE.csv]"); empty for jobs that take none.
    const char *fileArg;
    const char *summary;
    const char *details;

    QString name() const;
    bool takesFile() const { return fileArg[0] != '\0'; }
    // The words fileArg names, and how many of them must be given.
    QStringList operandNames() const;
    int requiredOperands() const;
    // The job changes what the panel holds.
    bool writesPanel() const;
    // The job works on the folder's records (history, event archive) or on
    // files, and logs on only when one of its sides is the panel.
    bool worksOnRecords() const;

    static const QList<CliCommand> &all();
    static const CliCommand *find(const QString &group, const QString &action);
    static bool isGroup(const QString &group);
};
