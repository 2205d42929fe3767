#pragma once

#include "backup/BackupKind.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

class MatrixRig;

// One bulk exchange of the program as the matrix drives it: through the
// window's own buttons, on the virtual panel.
//
// prepare brings the window to where the user starts the exchange (logged
// on, a list downloaded, values typed) on a fault-free line; run presses the
// button. Afterwards the matrix asks what the program claims and reports,
// and compares the fingerprint of the result (what the panel or the window
// holds) with that of a fault-free run: equal means the exchange did what it
// was asked.
struct Exchange
{
    Exchange() = default;
    Exchange(const char *exchangeName, qint64 ticks) : name(exchangeName), boundTicks(ticks) {}

    const char *name = "";
    // The stated waits of the exchange, in ticks of 0.864 ms, for a
    // fault-free line (the line time of the reply comes on top).
    qint64 boundTicks = 0;
    // Faults go on before the log-on (only the log-on itself).
    bool faultsFromStart = false;
    // The exchange has no in-session reply whose "OK" could be lost.
    bool noOkToDrop = false;
    // Neither success nor failure is shown (the clock set awaits no reply).
    bool showsNothing = false;

    std::function<bool(MatrixRig &)> prepare;
    std::function<void(MatrixRig &)> run;
    // The program says it worked ("Done", "NEW PIN Programmed", a table
    // marked as matching the panel, no error shown).
    std::function<bool(MatrixRig &)> claimsSuccess;
    // The program says it did not work (a message, a problem line).
    std::function<bool(MatrixRig &)> reportsFailure;
    // What the page itself shows of a failure beside the messages (a
    // problem line, a label), if anything.
    std::function<QString(MatrixRig &)> pageProblem;
    // The kind of backup the exchange keeps before it erases, if any: the
    // backup must hold what the panel held.
    std::optional<BackupKind> keepsBackup;
    std::function<QByteArray(MatrixRig &)> fingerprint;
    // What the user had that must survive: a snapshot taken before run,
    // compared afterwards by keeps(before, after, exchangeWorked).
    std::function<QByteArray(MatrixRig &)> userData;
    std::function<bool(const QByteArray &before, const QByteArray &after, bool worked)> keeps;

    static QList<Exchange> all();
};
