#include "IntendedCells.h"

#include <cstring>

namespace {

// A crash from a damaged heap ends by another signal in each build (the
// sanitizers stop it themselves): the expected list says "crash" for any.
bool sameFailure(const char *listed, const QString &reason, bool anyCrash)
{
    if (anyCrash && std::strcmp(listed, "crash") == 0)
        return reason.startsWith(QLatin1String("crash: "));
    return reason == QLatin1String(listed);
}

template <typename T>
const T *findIn(const QList<T> &cells, const char *exchange, const char *fault, const QString &reason, bool anyCrash)
{
    for (const T &c : cells)
        if (std::strcmp(c.exchange, exchange) == 0 && std::strcmp(c.fault, fault) == 0
            && sameFailure(c.reason, reason, anyCrash))
            return &c;
    return nullptr;
}

const char *const kUnknownModel = "cautious";
const char *const kClaimsSuccess = "claims success, result differs";

} // namespace

const QList<IntendedCell> &IntendedCell::all()
{
    static const QList<IntendedCell> cells = {
        {"log-on", "identity", kClaimsSuccess, kUnknownModel,
         "a third line of the banner that is no known identity leaves the model unknown: the log-on goes on, the "
         "caption stays and every upload is refused"},
        {"log-on", "stall", kClaimsSuccess, kUnknownModel,
         "a banner cut off before its third line leaves the model unknown: the log-on goes on, the caption stays "
         "and every upload is refused"},
        {"log-on", "pause", kClaimsSuccess, kUnknownModel,
         "a banner whose third line comes after the wake-up's waits leaves the model unknown: the log-on goes on, "
         "the caption stays and every upload is refused"},
        {"log-on", "noise", kClaimsSuccess, kUnknownModel,
         "a line of noise before the banner moves the identity off the third line: the model is unknown, the log-on "
         "goes on, the caption stays and every upload is refused"},
        {"single delete", "silent", kClaimsSuccess, "unchecked",
         "the entry leaves the table on the user's Yes; the erase of its slot is written once and its answer is "
         "not looked at"},
        {"single delete", "refused", kClaimsSuccess, "unchecked",
         "the entry leaves the table on the user's Yes; the erase of its slot is written once and its answer is "
         "not looked at"},
        {"event download", "noise", "claims success, result differs; user's table lost", "faithful",
         "every line of the panel's reply is shown: a line of noise before the log becomes an \"error\" row"},
        {"clock set", "silent", "fails without a word", "unanswered",
         "the clock is sent once and no answer is awaited"},
        {"tag read", "silent", "fails without a word", "indistinguishable",
         "a panel that sends nothing looks like a reader without a tag: the countdown ends at 0 and \"Ready\" "
         "stays"},
    };
    return cells;
}

const QList<ExpectedUntilFixed> &ExpectedUntilFixed::all()
{
    static const QList<ExpectedUntilFixed> cells = {
        {"log-on", "line-drop", "blames the PIN, which was right",
         "a line lost during the log-on is reported as \"Failed to Connect\" / \"Check PIN\""},
        {"directory download", "stall", "user's table lost",
         "a download cut short by a panel that stops replaces the user's table with the lines that came"},
        {"directory download", "line-drop", "user's table lost",
         "a download cut short by a lost line replaces the user's table with the lines that came"},
        {"directory download", "bare-OK", "claims success, result differs; user's table lost",
         "a reply of \"OK\" alone is taken for an empty directory: the table is emptied and marked as the panel's"},
        {"directory download", "no-records", "claims success, result differs; user's table lost",
         "a reply that holds none of the records is taken for an empty directory: the table is emptied and marked "
         "as the panel's"},
        {"directory upload", "refused", kClaimsSuccess, "\"Done\" after \"There was 5 error(s)\""},
        {"directory upload", "readback", kClaimsSuccess, "\"Done\" after \"There was 5 error(s)\""},
        {"directory upload", "noise", kClaimsSuccess,
         "\"Done\" after \"There was 5 error(s)\" (a line of noise before each read-back fails every entry)"},
        {"directory upload", "erase-mute", kClaimsSuccess,
         "a panel silent after the erase: every entry is tried and counted, then \"Done\" after \"There was 5 "
         "error(s)\""},
        {"directory upload", "line-drop", "does not say the line was lost",
         "a line lost during the backup read: the program offers to write without a backup and tries the erase on "
         "the closed line, and never says that the connection was lost"},
        {"directory upload", "bare-OK", "claims success, result differs; kept a backup that does not hold what the panel held",
         "a reply of \"OK\" alone is kept as an empty backup of the phone list; after the refused writes the "
         "restore empties the panel, and the upload says \"Done\""},
        {"directory upload", "no-records", "kept a backup that does not hold what the panel held",
         "a reply that holds none of the records is kept as an empty backup of the phone list"},
        {"parameter Write All", "bare-OK", "crash",
         "a reply of \"OK\" alone to the backup read of the parameters: its first and last lines are cut from a "
         "list of one, and the program crashes"},
        {"RFID download", "bare-OK", kClaimsSuccess,
         "a reply of \"OK\" alone is taken for an empty RFID store: every code leaves the table, without a word"},
        {"RFID download", "no-records", kClaimsSuccess,
         "a reply that holds none of the records is taken for an empty RFID store: every code leaves the table, "
         "without a word"},
        {"RFID Write All", "bare-OK", "crash",
         "a reply of \"OK\" alone to the backup read of the RFID store: its last and first lines are cut from a "
         "list of one, and the program crashes"},
    };
    return cells;
}

const IntendedCell *IntendedCell::find(const char *exchange, const char *fault, const QString &reason)
{
    return findIn(all(), exchange, fault, reason, false);
}

const ExpectedUntilFixed *ExpectedUntilFixed::find(const char *exchange, const char *fault, const QString &reason)
{
    return findIn(all(), exchange, fault, reason, true);
}
