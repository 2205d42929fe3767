#include "cli/StdConsole.h"

#include "cli/TerminalSecret.h"

#include <cstdio>
#include <unistd.h>

void StdConsole::out(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

void StdConsole::err(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

bool StdConsole::errIsTerminal() const
{
    return ::isatty(STDERR_FILENO) == 1;
}

std::optional<QByteArray> StdConsole::readSecret(const QString &question)
{
    return TerminalSecret::ask(question.toLocal8Bit());
}
