#pragma once

// The standard edit commands of the Edit menu: they act on the edit control
// that has the focus (a line edit, a text edit, the edit of a combo or spin
// box); with no edit focused they do nothing.
namespace FocusedEdit {
enum class Command { Cut, Copy, Paste };
// True when a focused edit took the command.
bool run(Command command);
} // namespace FocusedEdit
