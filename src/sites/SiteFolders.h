#pragma once

#include <QString>
#include <QStringList>

// Each site keeps its files (phone list, details file, parameter and event
// files, backups) in a folder of its own. By default that folder is made
// from the site's name under the program's documents folder:
//
//   ~/Documents/Corvalen-Pro/sites/12 Harbour Street, gate 2
//
// The user may choose any other folder for a site.
namespace SiteFolders {

// The program's documents folder's "sites" folder (XDG_DOCUMENTS_DIR, else
// ~/Documents, then Corvalen-Pro/sites).
QString defaultBase();

// A folder name made from a site's name that every file system and file
// manager takes: no "/" or "\" (nor the other characters Windows refuses,
// for folders copied to a share), no control characters, no leading dots
// (hidden) or trailing dots and blanks, no name reserved on Windows, at most
// kMaxBytes bytes of UTF-8; what is left of an empty or all-dots name is
// "site". Blanks, commas and letters of every script stay.
inline constexpr int kMaxBytes = 120;
QString safeName(const QString &siteName);

// base/safeName(siteName), made unique by " (2)", " (3)" ... among the
// folders (and files) already under base and the folders in taken, compared
// ignoring case. Nothing is created.
QString newFolder(const QString &base, const QString &siteName, const QStringList &taken);

} // namespace SiteFolders
