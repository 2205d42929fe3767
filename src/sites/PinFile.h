#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// A PIN kept in a file of its own, for a site whose PIN must be at hand
// where no desktop keyring is (a nightly job): the PIN on the first line,
// the file readable and writable by its owner only (mode 0600). A file that
// others may read or change is refused, never used, and never "repaired"
// by the program: the user decides about a file like that.
namespace PinFile {

inline constexpr int kMaxPinLength = 16;

struct Read
{
    std::optional<QByteArray> pin;
    bool missing = false; // no such file (nothing kept)
    bool unsafe = false;  // others than its owner may read or change it
    QString error;        // why there is no PIN
};

Read read(const QString &path);

// Replaces the file atomically with a new one that only its owner can
// read, holding the PIN and a line end; makes its folder when missing.
bool write(const QString &path, const QByteArray &pin, QString *error);

// Removes the file; a missing file is fine.
bool remove(const QString &path, QString *error);

// Empty when the panel can take the PIN (1 to 16 characters without line
// ends, NUL or 0xFF), else why not.
QString checkPin(const QByteArray &pin);

} // namespace PinFile
