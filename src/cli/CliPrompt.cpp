#include "cli/CliPrompt.h"

#include "cli/CliConsole.h"

CliPrompt::CliPrompt(CliConsole &console, bool quiet)
    : console_(console)
    , quiet_(quiet)
{
}

QByteArray CliPrompt::plainLines(const QString &text)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // The window shows "&&" in a box as one ampersand.
    plain.replace(QStringLiteral("&&"), QStringLiteral("&"));
    return plain.toLocal8Bit() + '\n';
}

void CliPrompt::message(const QString &text, Kind kind)
{
    lastMessage_ = text;
    lastWasError_ = kind == Kind::Error;
    if (kind == Kind::Warning) {
        warning(text);
        return;
    }
    if (kind == Kind::Error) {
        errors_ << text;
        console_.err(plainLines(text));
        return;
    }
    if (!quiet_)
        console_.err(plainLines(text));
}

void CliPrompt::warning(const QString &text)
{
    warnings_ << text;
    console_.err(plainLines(QStringLiteral("Warning: ") + text));
}

void CliPrompt::lastMessageIsError()
{
    if (lastMessage_.isEmpty() || lastWasError_)
        return;
    errors_ << lastMessage_;
    lastWasError_ = true;
    // Under --quiet the information was not shown; an error always is.
    if (quiet_)
        console_.err(plainLines(lastMessage_));
}

bool CliPrompt::ask(const QString &text, Kind)
{
    if (!quiet_)
        console_.err(plainLines(text + QStringLiteral(" Yes")));
    return true;
}

bool CliPrompt::askQuestion(const Question &question)
{
    if (!quiet_ && !question.details.isEmpty())
        console_.err(plainLines(question.details));
    if (!question.defaultNo)
        return ask(question.text, question.kind);
    console_.err(plainLines(question.text + QStringLiteral(" No")));
    return false;
}
