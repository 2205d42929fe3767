#pragma once

#include "parameters/ParameterControlIds.h"

#include <QList>
#include <QString>

class ParameterControls;

// The texts that go into a "p" command as they stand, whether typed,
// pasted, read from the panel or loaded from a parameter file: the six
// messages and the new PIN. One that holds a CR, LF or NUL would cut its
// command short on the panel and start another one from the rest, so a
// write that takes it is refused before anything is sent.
namespace ParameterLineBytes {

inline const QList<ParamEdit> kMessages = {ParamEdit::msg0, ParamEdit::msg1, ParamEdit::msg2,
                                           ParamEdit::msg3, ParamEdit::msg4, ParamEdit::msg5};

// Empty when no field holds a CR, LF or NUL; otherwise the message that
// names each field that does, by its label, with its text shown visibly.
QString refusal(const ParameterControls &c, const QList<ParamEdit> &fields);

} // namespace ParameterLineBytes
