#pragma once

#include "backup/BackupName.h"
#include "link/UserPrompt.h"

#include <QString>

// Whether a backup may go onto the panel that is connected, before Restore
// erases anything or Open in Page loads it for a Write All: the Backups
// window and corvalen-cli both ask here.
//
//  - A backup of another model is refused: its slots and records are not
//    the panel's (a 1000 model's list would erase a 100's directory and
//    then fail slot after slot). The message names both models.
//  - A backup taken at another site is asked about, No by default, naming
//    both sites: the panels may be the same model, and the other
//    building's phone list on this one is what the user least expects.
//  - A backup taken outside any site, or a panel used outside any site,
//    has no site to compare: only the model counts.
//
// Wiring: Restore (PanelBackups::restoreWithBackup) asks with the logged-on
// panel's BackupName::modelToken(conn.DirectoryEnd) and the store's site;
// Open in Page asks the same with purpose "opened" (offline, with the
// backup's own model, so that only the site is asked about).
namespace BackupMatch {

struct Panel
{
    QString model;    // BackupName::modelToken() of the connected panel
    QString siteName; // the site the panel is opened as; empty: none
};

enum class Verdict { Fits, OtherModel, OtherSite };

struct Check
{
    Verdict verdict = Verdict::Fits;
    QString message; // the refusal (OtherModel) or the question (OtherSite)
};

// purpose: "restored" or "opened" as the messages say it.
Check check(const BackupName &backup, const Panel &panel, const QString &purpose = QStringLiteral("restored"));

// The check put to the user: true when the backup may go on (it fits, or
// the user answered Yes to another site's backup). A refusal is shown as an
// error; the question defaults to No.
bool confirm(const BackupName &backup, const Panel &panel, UserPrompt &prompt,
             const QString &purpose = QStringLiteral("restored"));

// "Xarn1000" as people read it: "Corvalen 1000" ("an unknown model" for
// XarnUnknown).
QString modelText(const QString &modelToken);

} // namespace BackupMatch
