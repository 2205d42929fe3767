#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Where the command line program talks to its user: results on standard
// output, messages and progress on standard error, secrets read from the
// terminal without echo. StdConsole is the real one; tests record.
class CliConsole
{
public:
    virtual ~CliConsole() = default;
    virtual void out(const QByteArray &bytes) = 0;
    virtual void err(const QByteArray &bytes) = 0;
    // Standard error is a terminal: progress may redraw one line.
    virtual bool errIsTerminal() const = 0;
    // Asks on the terminal and reads one line without showing it; nothing
    // when there is no terminal or the input ended.
    virtual std::optional<QByteArray> readSecret(const QString &question) = 0;
    // Standard input to its end, at most maxBytes + 1 bytes (so that a longer
    // input can be told); nothing when it cannot be read.
    virtual std::optional<QByteArray> readInput(qint64 maxBytes) = 0;
};
