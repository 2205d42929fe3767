#pragma once

#include <QList>
#include <QString>

// The cells that break one of the four promises exactly as the program is
// meant to behave. Each names one exchange, one fault and the failure's
// whole reason as the matrix states it: a cell that fails in any other way,
// or under another fault, is a FAIL. The table marks these "meant" and
// lists below it, for each, why in a word and the behaviour it keeps.
struct IntendedCell
{
    const char *exchange;
    const char *fault;
    const char *reason; // the cell's failure, word for word
    const char *why;    // in a word
    const char *keeps;  // the behaviour the program keeps

    static const QList<IntendedCell> &all();
    static const IntendedCell *find(const char *exchange, const char *fault, const QString &reason);
};

// Cells that fail today because of faults of the program being mended
// elsewhere. They stay FAIL in the table, with the fault each shows; the
// matrix does not fail on them alone, and fails once one of them passes
// or fails in another way, so that the list is emptied as the mends come.
struct ExpectedUntilFixed
{
    const char *exchange;
    const char *fault;
    const char *reason; // the cell's failure, word for word ("crash": any crash)
    const char *shows;  // the program's fault it shows

    static const QList<ExpectedUntilFixed> &all();
    static const ExpectedUntilFixed *find(const char *exchange, const char *fault, const QString &reason);
};
