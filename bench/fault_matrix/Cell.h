#pragma once

#include "Fault.h"

#include <QByteArray>
#include <QString>

struct Exchange;

// The outcome of one exchange under one fault, judged on the four promises.
struct Cell
{
    enum class Mark { Ok, FailedAndSaidSo, NotApplicable, Fail, Meant };
    Mark mark = Mark::NotApplicable;
    QString reason;          // for a failure: which promise, in a few words
    qint64 elapsedMs = 0;    // virtual time the exchange took
    qint64 boundMs = 0;      // what its stated waits allow
    LineStats line;          // what the panel sent (used from the fault-free run)
    QByteArray fingerprint;  // of the result

    // Runs the exchange under the fault in a process of its own, so that a
    // crash or a hang is a mark in the table and not the end of the matrix.
    // clean: the fault-free run's cell (its line and fingerprint), or null
    // for the fault-free run itself.
    static Cell run(const Exchange &exchange, const Fault &fault, const Cell *clean, int realTimeoutS);

    QByteArray serialise() const;
    static Cell parse(const QByteArray &text);
};
