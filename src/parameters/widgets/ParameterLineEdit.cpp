#include "parameters/widgets/ParameterLineEdit.h"

#include "parameters/ParameterPageInfo.h"
#include "parameters/widgets/TypingLimitValidator.h"

#include <QPalette>

ParameterLineEdit::ParameterLineEdit(int maxTyped, QWidget *parent)
    : QLineEdit(parent)
    , maxTyped_(maxTyped)
    , validator_(new TypingLimitValidator(maxTyped, this))
{
    setValidator(validator_);
    connect(this, &QLineEdit::textChanged, this,
            [this](const QString &text) { validator_->setShownLength(text.size()); });
}

void ParameterLineEdit::setBytes(const QByteArray &bytes)
{
    const QString text = QString::fromLatin1(bytes);
    if (text == this->text())
        return;
    // The edit validates the program's text too and would take a longer one
    // as invalid, after which it stops refusing typed characters.
    validator_->setShownLength(text.size());
    setText(text);
}

void ParameterLineEdit::setDimmed(bool dimmed)
{
    if (dimmed_ == dimmed)
        return;
    dimmed_ = dimmed;
    // Only the text colour is set; every other role keeps following the
    // window's palette. An empty palette returns to the inherited one.
    QPalette palette;
    if (dimmed) {
        const QColor olive(ParameterPageInfo::kDimmedRed, ParameterPageInfo::kDimmedGreen,
                           ParameterPageInfo::kDimmedBlue);
        palette.setColor(QPalette::Active, QPalette::Text, olive);
        palette.setColor(QPalette::Inactive, QPalette::Text, olive);
    }
    setPalette(palette);
}
