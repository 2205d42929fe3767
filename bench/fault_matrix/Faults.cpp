#include "Exchange.h"
#include "Fault.h"
#include "MatrixRig.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kForever = 1000000;

bool always(const Exchange &, const LineStats &) { return true; }
bool anyReply(const Exchange &, const LineStats &s) { return s.bytes > 0; }
bool writes(const Exchange &, const LineStats &s)
{
    return s.words.contains('p') || s.words.contains('g') || s.words.contains('w') || s.words.contains('b');
}
// A changed read-back matters where something written is read back; a read
// alone cannot tell it from what the panel holds.
bool readsBack(const Exchange &x, const LineStats &s) { return s.words.contains('r') && writes(x, s); }
bool hasOk(const Exchange &e, const LineStats &s) { return !e.noOkToDrop && s.bytes > 0; }
bool logOnOnly(const Exchange &e, const LineStats &) { return e.faultsFromStart; }
// The session's replies: every exchange after the log-on that sends a command.
bool sessionReplies(const Exchange &e, const LineStats &s) { return !e.faultsFromStart && s.commands > 0 && s.bytes > 0; }
bool readsRanges(const Exchange &, const LineStats &s) { return s.words.contains('d') || s.words.contains('s'); }
bool erases(const Exchange &, const LineStats &s) { return s.words.contains('f') || s.words.contains('c'); }

// The lost connection is said: in a message, on the page or in the status
// bar, as a lost connection or line, or as being off line now.
bool saysLineLost(const QStringList &shown)
{
    return std::any_of(shown.begin(), shown.end(), [](const QString &text) {
        const bool lost = text.contains(QLatin1String("lost"), Qt::CaseInsensitive)
                          && (text.contains(QLatin1String("connection"), Qt::CaseInsensitive)
                              || text.contains(QLatin1String("line"), Qt::CaseInsensitive));
        return lost || text.contains(QLatin1String("not on line"), Qt::CaseInsensitive);
    });
}

} // namespace

QList<Fault> Fault::all()
{
    return {
        {"clean", always, [](MatrixRig &, const LineStats &) {}},
        {"silent", always, [](MatrixRig &r, const LineStats &) { r.faults().silent = true; }},
        {"refused", writes,
         [](MatrixRig &r, const LineStats &) {
             r.faults().errorP = r.faults().errorG = r.faults().errorW = kForever;
         }},
        {"drop-OK", hasOk, [](MatrixRig &r, const LineStats &) { r.faults().dropOk = true; }},
        {"readback", readsBack, [](MatrixRig &r, const LineStats &) { r.faults().badReadback = kForever; }},
        {"stall", anyReply,
         [](MatrixRig &r, const LineStats &s) { r.faults().stallAfter = int(qMax<qint64>(1, s.longest / 2)); }},
        {"pause", anyReply,
         [](MatrixRig &r, const LineStats &s) {
             r.faults().pauseAfter = int(qMax<qint64>(1, s.longest / 2));
             r.faults().pauseMs = 2000;
         }},
        {"noise", always, [](MatrixRig &r, const LineStats &) { r.faults().junk = true; }},
        {"NUL", anyReply, [](MatrixRig &r, const LineStats &) { r.faults().nul = true; }},
        {"chunks", anyReply, [](MatrixRig &r, const LineStats &) { r.faults().chunks = true; }},
        {"latency", anyReply, [](MatrixRig &r, const LineStats &) { r.faults().latencyMs = 150; }},
        {"line-drop", anyReply,
         [](MatrixRig &r, const LineStats &s) { r.faults().dropLineAfter = int(qMax<qint64>(1, s.bytes / 2)); },
         saysLineLost, "does not say the line was lost"},
        {"identity", logOnOnly,
         [](MatrixRig &r, const LineStats &) { r.engine().setIdentity("Corvalen_1000_Xarn "); }},
        {"bare-OK", sessionReplies, [](MatrixRig &r, const LineStats &) { r.faults().bareOk = true; }},
        {"empty", sessionReplies, [](MatrixRig &r, const LineStats &) { r.faults().emptyReplies = true; }},
        {"no-records", readsRanges, [](MatrixRig &r, const LineStats &) { r.faults().noRecords = true; }},
        {"erase-mute", erases, [](MatrixRig &r, const LineStats &) { r.faults().silentAfterErase = true; }},
    };
}
