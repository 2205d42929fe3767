#pragma once

#include <QJsonObject>
#include <QString>

// What a run did, for scripts: one JSON object on standard output with
// --json. Fields: action ("directory get"), result ("done", "refused",
// "usage", "link failed"), exit (the status), counts (what the job counted),
// model, site (null outside a site), file, backup (null until backups are
// taken), duration_s, the
// error messages shown and the warnings given, if any; interrupted (the
// signal, only when one stopped the run).
struct CliSummary
{
    QString action;
    QJsonObject counts;
    QJsonObject clock;
    QString model;
    QString site;
    QString file;
    QString backup;
    QStringList errors;
    QStringList warnings;
    QString interrupted; // the signal that stopped the run ("SIGINT"); empty when none did
    int exit = 0;
    double durationS = 0;

    QByteArray toJson() const;
    static QString resultName(int exit);
};
