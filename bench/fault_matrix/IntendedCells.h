#pragma once

#include <QString>

// Cells that break one of the four promises exactly as the program is meant
// to behave: the table marks them "meant" and says below it what is meant.
struct IntendedCell
{
    const char *exchange;
    const char *fault;      // empty: under any fault
    const char *reason;     // the start of the failure's reason
    const char *what;

    static const IntendedCell *find(const char *exchange, const char *fault, const QString &reason);
};
