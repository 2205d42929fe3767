#pragma once

#include "backup/BackupKind.h"

#include <QDateTime>
#include <QString>
#include <optional>

// The name of a backup file: the date and time it was taken (local time, to
// the second), the site it was taken at (when the panel is one of the site
// book's), the panel's model, what it holds, and the extension of its
// format, as in
//
//     2026-12-08_143012_Xarn1000_directory.csv
//     2026-12-08_143012_Xarn1000_directory-2.csv   (a second one that second)
//     2026-12-08_143012_12-Harbour-Street-gate-2_Xarn1000_directory.csv
//
// The files of one backup share the name up to the extension (its stem).
struct BackupName
{
    QDateTime when;
    QString site;       // siteToken() of the site's name; empty: taken outside any site
    QString model;      // letters and digits: "Xarn1000", "XarnUnknown"
    BackupKind kind = BackupKind::Directory;
    int serial = 1;     // 2, 3, ... for further backups of the same second
    QString suffix;     // without the dot

    QString stem() const;
    QString fileName() const;

    // None for a name of any other form: such files are never touched.
    static std::optional<BackupName> parse(const QString &fileName);

    // The model part of a name for a panel whose last directory slot is
    // directoryEnd: "Xarn100", "Xarn200", "Xarn500", "Xarn1000", or
    // "XarnUnknown" for a model the log-on did not recognise.
    static QString modelToken(qint32 directoryEnd);

    // The site part of a name: the site's name with every run of characters
    // other than ASCII letters and digits made one "-", no "-" at either
    // end, at most kMaxSiteToken characters ("12 Harbour Street, gate 2"
    // becomes "12-Harbour-Street-gate-2"); "site" when nothing is left.
    // Empty for an empty name (no site).
    static constexpr int kMaxSiteToken = 48;
    static QString siteToken(const QString &siteName);
};
