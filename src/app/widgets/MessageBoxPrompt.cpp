#include "app/widgets/MessageBoxPrompt.h"

#include <QMessageBox>

namespace {
const QString kTitle = QStringLiteral("Corvalen-Pro");

QMessageBox::Icon iconFor(UserPrompt::Kind kind)
{
    switch (kind) {
    case UserPrompt::Kind::Error: return QMessageBox::Critical;
    case UserPrompt::Kind::Confirmation: return QMessageBox::Question;
    case UserPrompt::Kind::Warning: return QMessageBox::Warning;
    case UserPrompt::Kind::Information: break;
    }
    return QMessageBox::Information;
}
} // namespace

QString MessageBoxPrompt::displayText(const QString &text)
{
    QString shown = text;
    // The box breaks lines at CR LF as at LF; it keeps CR LF, so assistive
    // technology reads the text as it was given. A bare LF (an operating
    // system's error text) becomes CR LF like every other line break.
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    // Message texts follow the label rule: a doubled ampersand shows as one.
    shown.replace(QStringLiteral("&&"), QStringLiteral("&"));
    return shown;
}

void MessageBoxPrompt::message(const QString &text, Kind kind)
{
    QMessageBox box(iconFor(kind), kTitle, displayText(text), QMessageBox::Ok, parent_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool MessageBoxPrompt::ask(const QString &text, Kind kind)
{
    QMessageBox box(iconFor(kind), kTitle, displayText(text), QMessageBox::Yes | QMessageBox::No, parent_);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

bool MessageBoxPrompt::askQuestion(const Question &question)
{
    QMessageBox box(iconFor(question.kind), kTitle, displayText(question.text), QMessageBox::Yes | QMessageBox::No,
                    parent_);
    box.setTextFormat(Qt::PlainText);
    if (!question.details.isEmpty()) {
        QString details = question.details;
        details.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        box.setDetailedText(details);
    }
    box.setDefaultButton(question.defaultNo ? QMessageBox::No : QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}
