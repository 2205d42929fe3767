#pragma once

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QStringList>

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
    // Whether what the program showed (its messages, the page's problem
    // line, the status bar) names the failure this fault causes; null: any
    // report names it (a dead panel, a refused write: the program can tell
    // no more than that the exchange did not work).
    bool (*named)(const QStringList &shown) = nullptr;
    // The failure as the table's notes say it is not named.
    const char *unnamed = "";

    static QList<Fault> all();
};
