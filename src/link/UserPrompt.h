#pragma once

#include <QString>
#include <QStringList>

// Messages and questions to the user. Below the windows nothing opens a
// message box: it goes through this sink, which the main window turns into
// modal boxes and tests replace with a recorder. Texts are shown exactly as
// given; lines are joined with CR LF.
class UserPrompt
{
public:
    // Warning: the work was done, but something the user relies on was not
    // (data passed over, or written where it will not be read back).
    enum class Kind { Information, Confirmation, Error, Warning };

    virtual ~UserPrompt() = default;
    virtual void message(const QString &text, Kind kind = Kind::Information) = 0;
    // A Yes/No question; only Yes returns true.
    virtual bool ask(const QString &text, Kind kind = Kind::Confirmation) = 0;

    // The lines of one message, joined with CR LF.
    static QString joinLines(const QStringList &lines) { return lines.join(QStringLiteral("\r\n")); }
    // A Yes/No question with more to it: details that the user may open
    // (what a write will change), and No as the answer that Return gives
    // (for a question whose Yes is dangerous). Only Yes returns true.
    struct Question
    {
        QString text;
        QString details; // none when empty
        Kind kind = Kind::Confirmation;
        bool defaultNo = false;
    };
    // Shells that cannot show details ask the text alone.
    virtual bool askQuestion(const Question &question) { return ask(question.text, question.kind); }
};
