#pragma once

#include "cli/CliConsole.h"

// The process's own standard output and error, and its controlling terminal
// for secrets (TerminalSecret).
class StdConsole : public CliConsole
{
public:
    void out(const QByteArray &bytes) override;
    void err(const QByteArray &bytes) override;
    bool errIsTerminal() const override;
    std::optional<QByteArray> readSecret(const QString &question) override;
    std::optional<QByteArray> readInput(qint64 maxBytes) override;
};
