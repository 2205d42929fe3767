#pragma once

#include <QByteArray>
#include <optional>

// Reads a secret from a terminal with its echo off, as passwords are read:
// the question goes to the terminal, the typed line comes back without its
// line end, and the terminal's settings are put back however the read ends
// (an interrupt included).
namespace TerminalSecret {

inline constexpr int kMaxLength = 256;

// On the process's controlling terminal (/dev/tty); nothing without one.
std::optional<QByteArray> ask(const QByteArray &question);

// On a terminal already open; fd is read and written. Nothing when fd is
// not a terminal, or the input ended before a line end.
std::optional<QByteArray> read(int fd, const QByteArray &question);

} // namespace TerminalSecret
