#include "directory/widgets/PhoneEdit.h"

#include <QKeyEvent>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

PhoneEdit::PhoneEdit(const char *objectName, int maxLength, QWidget *parent)
    : QLineEdit(parent)
{
    setObjectName(QLatin1String(objectName));
    setMaxLength(maxLength);
    // Every character must reach the table as the byte it shows.
    static const QRegularExpression latin1(QStringLiteral("[\\x{0}-\\x{ff}]*"));
    setValidator(new QRegularExpressionValidator(latin1, this));
}

void PhoneEdit::setBytes(const QByteArray &bytes)
{
    const QString shown = QString::fromLatin1(bytes);
    if (shown != text())
        setText(shown);
}

void PhoneEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        emit enterPressed();
        return;
    }
    // Only typed characters meet the filter: editing keys (Backspace,
    // Delete, arrows) and shortcuts such as Ctrl+V pass.
    const QString typed = event->text();
    const bool shortcut = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
    if (filter_ && !shortcut && typed.size() == 1 && typed.at(0).unicode() >= 0x20) {
        const char16_t c = typed.at(0).unicode();
        if (c > 0xFF || !filter_(char(c))) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void PhoneEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        emit exited();
}
