#include "app/widgets/FocusedEdit.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {
template <typename Edit>
bool apply(Edit *edit, FocusedEdit::Command command)
{
    switch (command) {
    case FocusedEdit::Command::Cut: edit->cut(); break;
    case FocusedEdit::Command::Copy: edit->copy(); break;
    case FocusedEdit::Command::Paste: edit->paste(); break;
    }
    return true;
}
} // namespace

bool FocusedEdit::run(Command command)
{
    QWidget *focus = QApplication::focusWidget();
    if (!focus)
        return false;
    if (auto *combo = qobject_cast<QComboBox *>(focus))
        focus = combo->lineEdit();
    if (auto *line = qobject_cast<QLineEdit *>(focus))
        return apply(line, command);
    if (auto *text = qobject_cast<QTextEdit *>(focus))
        return apply(text, command);
    if (auto *plain = qobject_cast<QPlainTextEdit *>(focus))
        return apply(plain, command);
    // A spin box keeps its edit to itself; the edit is its only child edit.
    if (auto *spin = qobject_cast<QAbstractSpinBox *>(focus))
        if (auto *line = spin->findChild<QLineEdit *>())
            return apply(line, command);
    return false;
}
