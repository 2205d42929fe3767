#pragma once

#include <QByteArray>
#include <QList>
#include <QSet>

struct Exchange;
class MatrixRig;

// What a fault-free run of an exchange showed of the line: the sizes the
// faults are measured against, and the command words sent.
struct LineStats
{
    qint64 bytes = 0;     // everything the panel sent
    qint64 longest = 0;   // its longest single reply
    QSet<char> words;     // first letters of the commands
    int commands = 0;     // how many were sent
};

// One fault of the virtual panel, set on it just before the exchange.
struct Fault
{
    const char *name;
    // Whether the fault can touch this exchange at all (n/a otherwise).
    bool (*applies)(const Exchange &, const LineStats &);
    void (*apply)(MatrixRig &, const LineStats &);

    static QList<Fault> all();
};
