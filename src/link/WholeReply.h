#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class CommandExchange;

// A whole reply to a bulk read, for a backup: the command is sent with the
// echo held back and the reply taken only once it ends with the panel's
// own "OK" line. Every wait is bounded, and a reply that is not whole is
// refused with the reason, because a partial backup would put back less
// than the panel held. Nothing but the receive buffer changes.
namespace WholeReply {

// Waits at most `steps` steps of 86.4 ms, and at most `silentSteps` silent
// steps in a row. The whole reply, or none with "The Corvalen did not
// answer." or "The Corvalen's reply did not end with OK." in `why`.
std::optional<QByteArray> read(CommandExchange &link, const QByteArray &command, int steps, int silentSteps,
                               QString *why);

} // namespace WholeReply
