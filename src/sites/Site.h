#pragma once

#include <QDateTime>
#include <QString>
#include <QUuid>

// A building's panel as the user knows it: the name people call it by
// ("12 Harbour Street, gate 2"), the address of its serial line, free notes,
// the folder that holds its files, how its PIN is kept, and what the program
// learned about it. The id never changes, also not when the site is
// renamed: whatever is kept per site (the PIN in the keyring, a history)
// is keyed by the id, never by the name.
//
// Times are in UTC; a null QDateTime means "never".
struct Site
{
    // Where the site's PIN is kept (see PinVault). Never in the site book.
    enum class PinKeeping {
        Keyring,       // the desktop's keyring (Secret Service)
        PinFile,       // a file only its owner can read, for jobs without a desktop
        NotRemembered, // asked at every log-on
    };
    enum class BackupResult { None, Ok, Failed };

    QUuid id;
    QString name;
    QString address; // as PortAddress reads it: COM1-COM4, /dev/..., tcp://, rfc2217://
    QString notes;   // may hold line breaks
    QString folder;  // absolute path
    PinKeeping pinKeeping = PinKeeping::Keyring;
    QString pinFile; // empty: the default file in the site's folder

    // Learned by the program.
    QString model; // the panel's identity at the last log-on
    QDateTime lastContact;
    QDateTime lastOpened;
    QDateTime lastBackup;
    BackupResult backupResult = BackupResult::None;
    QString backupMessage;

    static constexpr const char *kDefaultPinFileName = "corvalen.pin";
    // The PIN file used for PinKeeping::PinFile: pinFile, or
    // kDefaultPinFileName in the site's folder.
    QString pinFilePath() const;

    bool operator==(const Site &other) const = default;
};

namespace SiteText {

// "keyring", "file", "none" (the words of the site book).
QString pinKeepingWord(Site::PinKeeping keeping);
bool pinKeepingFromWord(const QString &word, Site::PinKeeping *keeping);
// "", "ok", "failed".
QString backupResultWord(Site::BackupResult result);
bool backupResultFromWord(const QString &word, Site::BackupResult *result);

// A time as the book and the spreadsheet list write it: ISO 8601 in UTC,
// to the second ("2024-05-02T02:00:04Z"); empty for a null time.
QString timeText(const QDateTime &utc);
// Reads ISO 8601 with "Z", an offset or neither, with "T" or a blank between
// date and time (as spreadsheets re-save it); a time without a zone is UTC.
// False for anything else; empty text is a null time.
bool timeFromText(const QString &text, QDateTime *utc);

// A time for people: local time, "yyyy-MM-dd HH:mm"; empty for null.
QString shownTime(const QDateTime &utc);

// The name with surrounding blanks removed and runs of blanks made one
// space; line breaks and other control characters become spaces.
QString cleanName(const QString &name);
// The key under which names are compared: case and blank runs do not
// count ("harbour street" and "Harbour  Street" are the same site).
QString nameKey(const QString &name);

} // namespace SiteText
