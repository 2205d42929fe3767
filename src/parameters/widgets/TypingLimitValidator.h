#pragma once

#include <QValidator>

// Limits what the user types into an edit, never what the program puts
// there: a text may not grow beyond maxLength by typing or pasting, while a
// longer text set by the program ("ERROR" in a four-character code edit, a
// decoded "255" in a two-character edit) stays whole and can still be
// shortened or replaced. Only 8-bit (Latin-1) characters are accepted, so
// every typed character reaches the panel as the byte it shows.
class TypingLimitValidator : public QValidator
{
    Q_OBJECT
public:
    TypingLimitValidator(int maxLength, QObject *parent = nullptr);

    // The length of the text the edit shows now; the edit reports it after
    // every change so that a longer programmatic text may shrink.
    void setShownLength(qsizetype length) { shownLength_ = length; }

    State validate(QString &input, int &pos) const override;

private:
    int maxLength_;
    qsizetype shownLength_ = 0;
};
