#include "cli/StdConsole.h"

#include "cli/TerminalSecret.h"

#include <cerrno>
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

std::optional<QByteArray> StdConsole::readInput(qint64 maxBytes)
{
    QByteArray bytes;
    char chunk[65536];
    while (bytes.size() <= maxBytes) {
        const ssize_t n = ::read(STDIN_FILENO, chunk, size_t(qMin<qint64>(sizeof chunk, maxBytes + 1 - bytes.size())));
        if (n == 0)
            return bytes;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        bytes.append(chunk, n);
    }
    return bytes;
}
