#pragma once

#include "link/UserPrompt.h"

class QWidget;

// Messages and Yes/No questions as modal message boxes over the main
// window. Texts are shown exactly; CR LF between lines is a line break (and
// stays CR LF in the text assistive technology reads) and a doubled
// ampersand shows as one.
class MessageBoxPrompt : public UserPrompt
{
public:
    explicit MessageBoxPrompt(QWidget *parent) : parent_(parent) {}

    void message(const QString &text, Kind kind = Kind::Information) override;
    bool ask(const QString &text, Kind kind = Kind::Confirmation) override;
    // The details go to the box's "Show Details..." part.
    bool askQuestion(const Question &question) override;

    // The text as the box shows it.
    static QString displayText(const QString &text);

private:
    QWidget *parent_;
};
