#pragma once

#include "link/UserPrompt.h"

#include <QStringList>

class CliConsole;

// The window's message boxes on standard error: the same texts, their CR LF
// line breaks as plain line ends. Errors and warnings always show;
// information only without --quiet. A question is answered by the command itself (the user
// asked for the job that asks it): it is shown with the answer.
class CliPrompt : public UserPrompt
{
public:
    CliPrompt(CliConsole &console, bool quiet);

    void message(const QString &text, Kind kind = Kind::Information) override;
    bool ask(const QString &text, Kind kind = Kind::Confirmation) override;

    // An error of the command line program's own, in the same place.
    void error(const QString &text) { message(text, Kind::Error); }

    // Every error shown, in order.
    const QStringList &errors() const { return errors_; }
    QString lastError() const { return errors_.isEmpty() ? QString() : errors_.last(); }
    // Every warning shown, in order.
    const QStringList &warnings() const { return warnings_; }

    static QByteArray plainLines(const QString &text);

private:
    CliConsole &console_;
    bool quiet_;
    QStringList errors_;
    QStringList warnings_;
};
