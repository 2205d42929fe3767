#include "events/EventTransfer.h"

#include "events/EventDecoder.h"
#include "events/EventFields.h"
#include "link/ContentRecorder.h"
#include "link/ReplyMemo.h"

namespace {
constexpr int kLedOnline = 21;
constexpr qint32 kPollTicks = 500; // 432 ms
// 22.5 s without a byte: the panel has stopped talking.
constexpr int kSilentPolls = 52;
// The longest log the table can number (Event is a 16-bit number: 32767
// lines of 55 bytes) takes some 313 s at 57600 baud; with the silence bound
// on top, a panel that never stops talking is given up after 345.6 s.
constexpr int kMaxPolls = 800;

// The clock read's "OK" may come late, after "e" has gone out: an "OK" line
// before anything else of the event reply is not part of it.
QByteArray withoutLateClockOk(QByteArray received)
{
    while (received.startsWith("OK\r\n"))
        received.remove(0, 4);
    return received;
}

// The event reply is whole once an "OK" line of its own follows its first
// line.
bool eventReplyComplete(const QByteArray &received)
{
    return ReplyMemo::endsWithOkLine(withoutLateClockOk(received));
}
} // namespace

EventTransfer::EventTransfer(TransferContext &ctx, EventLog &log, ComputerClock clock)
    : ctx_(ctx)
    , log_(log)
    , clock_(std::move(clock))
{
}

EventTransfer::Outcome EventTransfer::dnLoadClick()
{
    ExchangeGuard::Scope scope(ctx_.guard);
    if (!scope)
        return Outcome::Busy;

    ctx_.feedback.showTransferWindow();
    ctx_.feedback.startLampBlink();
    const Outcome outcome = download();
    ctx_.feedback.stopLampBlink();
    ctx_.feedback.setLedImage(kLedOnline);
    ctx_.feedback.hideTransferWindow();
    // "Not on line" goes to the phone page's memo; the status bar, which the
    // transfer window has just set to "Done", says it where the user is.
    if (outcome == Outcome::NotOnLine)
        ctx_.status.setStatusText(QStringLiteral("Not on line"));
    reportProblem(outcome);
    return outcome;
}

// The event page says whether the rows it shows came from this download.
void EventTransfer::reportProblem(Outcome outcome)
{
    const QString shown = log_.EventTable.isOpen()
                              ? QStringLiteral(" The events shown were loaded at %1  %2.")
                                    .arg(log_.clock.Ctime(), log_.clock.Cdate())
                              : QStringLiteral(" No events have been loaded.");
    switch (outcome) {
    case Outcome::Busy:
        return;
    case Outcome::Completed:
        log_.setDownloadProblem({});
        return;
    case Outcome::NotOnLine:
        log_.setDownloadProblem(QStringLiteral("Down Load failed: Not on line.") + shown);
        return;
    case Outcome::BadClock:
        log_.setDownloadProblem(QStringLiteral("Down Load failed: the Corvalen clock could not be read.") + shown);
        return;
    case Outcome::BadEventLine:
        log_.setDownloadProblem(
            QStringLiteral("Down Load incomplete: event %1 could not be read; the events before it are shown.")
                .arg(badEvent_));
        return;
    }
}

bool EventTransfer::clockSteps()
{
    CommandExchange &link = ctx_.link;
    link.SendCommand("\r");
    link.PumpWait(200);
    link.RxMemo().clear();
    link.PumpWait(2);
    link.SendCommand("t\r");
    link.PumpWait(200);
    return readPanelClock(link.RxMemo().line(1));
}

EventTransfer::Outcome EventTransfer::readClock()
{
    ExchangeGuard::Scope scope(ctx_.guard);
    if (!scope)
        return Outcome::Busy;
    if (!clockSteps())
        return Outcome::BadClock;
    const QDateTime now = clock_.now();
    log_.clock.setCtime(clock_.longTime(now));
    log_.clock.setCdate(clock_.shortDate(now));
    return Outcome::Completed;
}

EventTransfer::SetClockOutcome EventTransfer::setClock()
{
    ExchangeGuard::Scope scope(ctx_.guard);
    if (!scope)
        return SetClockOutcome::Busy;
    CommandExchange &link = ctx_.link;
    link.RxMemo().clear();
    link.clearReply();
    link.rx().DataArrived = false;
    link.SendCommand("t" + ComputerClock::setClockDigits(clock_.now()) + "\r");
    if (link.waitForReply(100, 20))
        return SetClockOutcome::Completed;
    return link.rx().DataArrived ? SetClockOutcome::Refused : SetClockOutcome::NoAnswer;
}

EventTransfer::Outcome EventTransfer::download()
{
    CommandExchange &link = ctx_.link;
    if (!clockSteps())
        return Outcome::BadClock;
    // Taken with the panel's clock, shown once the rows are in: after a
    // failed download "Loaded At" still tells when the rows shown came.
    const QDateTime now = clock_.now();

    if (!waitForEvents()) {
        link.RxMemo().setText("Not on line");
        return Outcome::NotOnLine;
    }
    return decodeEvents(now);
}

bool EventTransfer::readPanelClock(const QByteArray &clockLine)
{
    // The clock line carries seconds, minutes, hours, day, month, year.
    const QByteArray timePairs = clockLine.mid(4, 2) + clockLine.mid(2, 2) + clockLine.mid(0, 2);
    const std::optional<QByteArray> time = EventDecoder::HexPairsToText(timePairs, ':');
    if (time)
        log_.clock.setStime(QString::fromLatin1(*time));
    const std::optional<QByteArray> date = time ? EventDecoder::HexPairsToText(clockLine.mid(6, 6), '/')
                                                : std::optional<QByteArray>();
    if (date)
        log_.clock.setSdate(QString::fromLatin1(*date));
    if (time && date)
        return true;

    ctx_.prompt.message(QStringLiteral("The Corvalen clock could not be read:\r\n"
                                       "\"%1\" is not hexadecimal.\r\n"
                                       "The events were not loaded.")
                            .arg(QString::fromLatin1(clockLine)),
                        UserPrompt::Kind::Error);
    return false;
}

bool EventTransfer::waitForEvents()
{
    CommandExchange &link = ctx_.link;
    ReceiveState &rx = link.rx();
    link.SendCommand("e\r");
    // Nothing of the event reply can have arrived yet: the write happened
    // after SendCommand's own wait. A short log often arrives whole within
    // the first poll.
    link.RxMemo().clear();
    link.clearReply();
    rx.DataArrived = false;
    int silentPolls = 0;
    for (int poll = 0; poll < kMaxPolls && silentPolls < kSilentPolls; ++poll) {
        link.PumpWait(kPollTicks);
        if (rx.ReplyOk && eventReplyComplete(rx.ReceiveBuffer))
            return true;
        silentPolls = rx.DataArrived ? 0 : silentPolls + 1;
        rx.DataArrived = false;
    }
    return false;
}

EventTransfer::Outcome EventTransfer::decodeEvents(const QDateTime &loadedAt)
{
    // The reply's first line precedes the events and its last is "OK".
    const QList<QByteArray> lines = ReplyMemo::splitLines(withoutLateClockOk(ctx_.link.RxMemo().text()));
    Table &table = log_.EventTable;
    DefineEventTable(table);
    table.open();
    table.emptyTable();
    log_.clock.setCtime(clock_.longTime(loadedAt));
    log_.clock.setCdate(clock_.shortDate(loadedAt));

    Outcome outcome = Outcome::Completed;
    table.disableControls();
    int number = 0;
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        ++number;
        if (!DecodeEventLine(table, lines.at(i), number)) {
            badEvent_ = number;
            ctx_.prompt.message(QStringLiteral("Event %1 could not be read, its date or time is not hexadecimal:\r\n"
                                               "%2\r\n"
                                               "The events before it were loaded; the download is not complete.")
                                    .arg(number)
                                    .arg(QString::fromLatin1(lines.at(i))),
                                UserPrompt::Kind::Error);
            outcome = Outcome::BadEventLine;
            break;
        }
    }
    table.enableControls();
    table.first();
    log_.announceRowsLoaded();
    if (outcome == Outcome::Completed)
        log_.markLoaded();
    // The lines after one the grid cannot read are kept all the same.
    if (ctx_.recorder)
        ctx_.recorder->eventsDownloaded(lines.mid(1, qMax<qsizetype>(0, lines.size() - 2)), log_.clock.Stime(),
                                        log_.clock.Sdate(), loadedAt);
    return outcome;
}

bool EventTransfer::Set_timeClick()
{
    ExchangeGuard::Scope scope(ctx_.guard);
    if (!scope)
        return false;
    ctx_.link.SendCommand("t" + ComputerClock::setClockDigits(clock_.now()) + "\r");
    return true;
}
