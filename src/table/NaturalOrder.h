#pragma once

#include <QCollator>
#include <QString>

// Text in the order people expect in a list of names and room numbers: runs
// of digits by their value ("9" before "10" before "102"), everything else
// by the collator's order (the user's locale, ignoring case). QCollator's own
// numeric mode is not there in every locale (not in "C"); this is.
class NaturalOrder
{
public:
    NaturalOrder();
    // <0, 0 or >0.
    int compare(const QString &a, const QString &b) const;
    bool operator()(const QString &a, const QString &b) const { return compare(a, b) < 0; }

private:
    QCollator collator_;
};
