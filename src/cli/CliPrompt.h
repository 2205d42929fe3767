#pragma once

#include "link/UserPrompt.h"

#include <QStringList>

class CliConsole;

// The window's message boxes on standard error: the same texts, their CR LF
// line breaks as plain line ends. Errors and warnings always show
// (a warning after "Warning: "); information only without --quiet. A
// question is answered by the command itself (the user asked for the job
// that asks it): it is shown with the answer.
class CliPrompt : public UserPrompt
{
public:
    CliPrompt(CliConsole &console, bool quiet);

    void message(const QString &text, Kind kind = Kind::Information) override;
    bool ask(const QString &text, Kind kind = Kind::Confirmation) override;
    // The details (what a restore changes) are shown with the question. A
    // question whose Yes is dangerous (No by default) is answered No: nobody
    // at the command line said Yes to it. Shown however quiet the run.
    bool askQuestion(const Question &question) override;

    // An error of the command line program's own, in the same place.
    void error(const QString &text) { message(text, Kind::Error); }
    // Something the job did not do as the file or the panel has it (a value
    // cut, a row left out), told however quiet the run is.
    void warning(const QString &text);
    // The window shows some refusals as information ("... is the limit.",
    // the RFID format note): the last message shown counts as an error from
    // now on, when it is not one already.
    void lastMessageIsError();

    // Every error shown, in order.
    const QStringList &errors() const { return errors_; }
    QString lastError() const { return errors_.isEmpty() ? QString() : errors_.last(); }
    // Every warning, in order.
    const QStringList &warnings() const { return warnings_; }

    static QByteArray plainLines(const QString &text);

private:
    CliConsole &console_;
    bool quiet_;
    QStringList errors_;
    QStringList warnings_;
    QString lastMessage_;
    bool lastWasError_ = false;
};
