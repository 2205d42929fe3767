#include "parameters/widgets/TypingLimitValidator.h"

TypingLimitValidator::TypingLimitValidator(int maxLength, QObject *parent)
    : QValidator(parent)
    , maxLength_(maxLength)
{
}

QValidator::State TypingLimitValidator::validate(QString &input, int &) const
{
    for (QChar ch : input)
        if (ch.unicode() > 0xFF)
            return Invalid;
    if (input.size() > maxLength_ && input.size() > shownLength_)
        return Invalid;
    return Acceptable;
}
