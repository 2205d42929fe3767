#pragma once

#include <QByteArray>
#include <QLineEdit>

class TypingLimitValidator;

// A single-line edit of the parameter page. Its text is 8-bit: the bytes go
// in and out as Latin-1, so every byte 0-255 survives. Typing is limited to
// maxTyped characters, but a longer text put there by the program is shown
// whole. A dimmed edit shows its text in olive.
class ParameterLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    ParameterLineEdit(int maxTyped, QWidget *parent = nullptr);

    QByteArray bytes() const { return text().toLatin1(); }
    // Shows bytes unless they are already shown (the cursor then stays put).
    void setBytes(const QByteArray &bytes);

    bool isDimmed() const { return dimmed_; }
    void setDimmed(bool dimmed);

    int maxTyped() const { return maxTyped_; }

private:
    int maxTyped_;
    TypingLimitValidator *validator_;
    bool dimmed_ = false;
};
