#pragma once

#include <QJsonObject>
#include <QString>

// What a run did, for scripts: one JSON object on standard output with
// --json. Fields: action ("directory get"), result ("done", "refused",
// "usage", "link failed"), exit (the status), counts (what the job counted),
// model, file, backup (null until backups are taken), duration_s, and the
// error and warning messages shown, if any.
struct CliSummary
{
    QString action;
    QJsonObject counts;
    QJsonObject clock;
    QString model;
    QString file;
    QString backup;
    QStringList errors;
    QStringList warnings;
    int exit = 0;
    double durationS = 0;

    QByteArray toJson() const;
    static QString resultName(int exit);
};
