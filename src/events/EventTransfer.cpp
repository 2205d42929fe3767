#include "events/EventTransfer.h"

#include "events/EventDecoder.h"
#include "events/EventFields.h"

namespace {
constexpr int kLedOnline = 21;
constexpr qint32 kGraceTicks = 500; // 432 ms
constexpr qint32 kPollTicks = 500;
constexpr int kPolls = 51;
} // namespace

EventTransfer::EventTransfer(AppContext &ctx, EventLog &log, ComputerClock clock)
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
    return outcome;
}

EventTransfer::Outcome EventTransfer::download()
{
    CommandExchange &link = ctx_.link;
    link.SendCommand("\r");
    link.PumpWait(200);
    link.RxMemo().clear();
    link.PumpWait(2);
    link.SendCommand("t\r");
    link.PumpWait(200);

    if (!readPanelClock(link.RxMemo().line(1)))
        return Outcome::BadClock;
    const QDateTime now = clock_.now();
    log_.clock.setCtime(clock_.longTime(now));
    log_.clock.setCdate(clock_.shortDate(now));

    if (!waitForEvents()) {
        link.RxMemo().setText("Not on line");
        return Outcome::NotOnLine;
    }
    return decodeEvents();
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
    link.SendCommand("e\r");
    // Nothing of the event reply can have arrived yet: the write happened
    // after SendCommand's own wait. Clearing the acknowledgement here drops
    // an "OK" left over from the clock read, and any "OK" from now on belongs
    // to the event reply, however early it comes. A short log often arrives
    // whole within the grace below.
    link.RxMemo().clear();
    link.clearReply();
    link.PumpWait(kGraceTicks);
    if (link.rx().ReplyOk)
        return true;
    return link.waitForReply(kPollTicks, kPolls);
}

EventTransfer::Outcome EventTransfer::decodeEvents()
{
    // The reply's first line precedes the events and its last is "OK".
    const QList<QByteArray> lines = ctx_.link.RxMemo().lines();
    Table &table = log_.EventTable;
    DefineEventTable(table);
    table.open();
    table.emptyTable();

    Outcome outcome = Outcome::Completed;
    table.disableControls();
    int number = 0;
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        ++number;
        if (!DecodeEventLine(table, lines.at(i), number)) {
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
    if (outcome == Outcome::Completed)
        log_.markLoaded();
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
