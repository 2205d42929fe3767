#pragma once

#include <QString>
#include <QList>

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
    };

    Job job;
    const char *group;
    const char *action;  // empty for a group that is the whole job ("identify")
    const char *fileArg; // "FILE.csv"; empty for jobs without a file
    const char *summary;
    const char *details;

    QString name() const;
    bool takesFile() const { return fileArg[0] != '\0'; }
    // The job changes what the panel holds.
    bool writesPanel() const;

    static const QList<CliCommand> &all();
    static const CliCommand *find(const QString &group, const QString &action);
    static bool isGroup(const QString &group);
};
