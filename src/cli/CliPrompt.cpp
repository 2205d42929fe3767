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
    if (kind == Kind::Error || kind == Kind::Warning) {
        (kind == Kind::Error ? errors_ : warnings_) << text;
        console_.err(plainLines(text));
        return;
    }
    if (!quiet_)
        console_.err(plainLines(text));
}

bool CliPrompt::ask(const QString &text, Kind)
{
    if (!quiet_)
        console_.err(plainLines(text + QStringLiteral(" Yes")));
    return true;
}
