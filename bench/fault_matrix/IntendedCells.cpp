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
        {"directory download", "stall", "user's table lost", "specified",
         "a download cut short takes the lines that came in place of the table, says so (\"communication error\" "
         "and how many entries it kept), and the table no longer passes for the panel's: Write Each Change stays "
         "off and the next upload compares against the panel"},
        {"directory download", "line-drop", "user's table lost", "specified",
         "a download cut short by a lost line takes the lines that came in place of the table, says so, and the "
         "table no longer passes for the panel's: Write Each Change stays off and the next upload compares against "
         "the panel"},
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
