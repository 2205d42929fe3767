#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <optional>

class CliConsole;

// Where the command line program takes a PIN from, never from its arguments
// (every user of the machine can read those in the process list):
//
//  1. a PIN file named by --pin-file: its first line, and only when no one
//     but its owner may read it (mode 0600 or 0400);
//  2. an environment variable (CORVALEN_PIN, or CORVALEN_NEW_PIN for a new PIN);
//  3. the terminal, asked without echo.
//
// A PIN is 1 to 16 characters without line ends.
class PinSource
{
public:
    static constexpr int kMaxPinLength = 16;

    struct Result
    {
        std::optional<QByteArray> pin;
        QString error; // why there is none
    };

    PinSource(const QProcessEnvironment &environment, CliConsole &console);

    // The PIN to log on with.
    Result logOnPin(const QString &pinFile);
    // CORVALEN_PIN is set: it wins over a PIN a site keeps.
    bool hasEnvironmentPin() const { return environment_.contains(QStringLiteral("CORVALEN_PIN")); }
    // A new PIN: from CORVALEN_NEW_PIN, else asked twice on the terminal.
    Result newPin();

    // The first line of a file only its owner can read.
    static Result readPinFile(const QString &path);
    // Empty when the PIN can be used, else why not.
    static QString checkPin(const QByteArray &pin);

private:
    Result checked(const QByteArray &pin, const QString &from);

    QProcessEnvironment environment_;
    CliConsole &console_;
};
