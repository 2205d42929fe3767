#pragma once

#include <QByteArray>
#include <optional>

// How the log-on asks for the PIN: the log-on dialog in the program, a
// scripted answer in tests. Nothing means the user cancelled.
class PinRequest
{
public:
    virtual ~PinRequest() = default;
    // Shows the log-on dialog modally; the PIN as typed (0 to 16 bytes) on
    // Ok or Return, nothing on Cancel or the close box.
    virtual std::optional<QByteArray> askPin() = 0;
};
