#pragma once

#include <QString>

// The program's own working folder in the user's documents folder: the
// phone list file and the log-on details file are kept in the working
// folder, so a program started from the desktop menu (whose working folder
// is whatever the desktop chose) works here instead.
class UserFolder
{
public:
    static constexpr const char *kName = "Corvalen-Pro";

    // documentsFolder/Corvalen-Pro; with no argument, in the user's
    // documents folder (XDG_DOCUMENTS_DIR, or ~/Documents).
    static QString path(const QString &documentsFolder);
    static QString path();

    // Makes the folder if it is missing and makes it the working folder.
    // False with *error saying why when it cannot; the working folder is
    // then left as it was.
    static bool enter(const QString &folder, QString *error);
};
