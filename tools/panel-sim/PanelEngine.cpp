#include "PanelEngine.h"

#include "PanelLines.h"

using PanelLines::kCrLf;

PanelEngine::PanelEngine(const PanelModelProfile &model)
    : model_(model)
    , identity_(model.identity)
    , memory_(model.lastDirectoryRecord())
    , commands_(memory_, clock_, faults_)
{
}

QByteArray PanelEngine::banner() const
{
    return QByteArray(kCrLf) + "Ostrel Ltd" + kCrLf + "Xarn door entry" + kCrLf + identity_ + kCrLf + "Enter PIN"
         + kCrLf;
}

QList<PanelOutput> PanelEngine::receive(const QByteArray &bytes)
{
    QList<PanelOutput> out;
    for (char c : bytes) {
        if (c == '\r') {
            const QByteArray command = input_;
            const bool tooLong = overflow_;
            input_.clear();
            overflow_ = false;
            out += answer(command, tooLong);
        } else if (c == '\n' && input_.isEmpty()) {
            // the LF of a CR LF sender
        } else if (input_.size() < kMaxCommand) {
            input_.append(c);
        } else {
            overflow_ = true;
        }
    }
    return out;
}

QByteArray PanelEngine::feed(const QByteArray &bytes)
{
    return PanelOutput::join(receive(bytes));
}

QList<PanelOutput> PanelEngine::answer(const QByteArray &command, bool tooLong)
{
    if (observer_)
        observer_(command);
    if (faults_.silent)
        return {};
    const bool inSession = loggedOn_;
    if (tooLong) // refused whole; before a log-on it is ignored like any other text
        return finish(inSession ? PanelReply{QByteArray("Error") + kCrLf} : PanelReply{}, inSession);
    QList<PanelOutput> out = finish(inSession ? session(command) : logOn(command), inSession);
    if (inSession && faults_.silentAfterErase && (command == "f5a" || command == "c1418"))
        faults_.silent = true;
    return out;
}

PanelReply PanelEngine::logOn(const QByteArray &command)
{
    if (command.isEmpty())
        return {banner()};
    if (command.startsWith('a')) {
        if (command.mid(1) == memory_.pin()) {
            loggedOn_ = true;
            return {QByteArray(kCrLf), true};
        }
        return {QByteArray(kCrLf) + "Access denied" + kCrLf};
    }
    return {};
}

PanelReply PanelEngine::session(const QByteArray &command)
{
    if (command.isEmpty())
        return {QByteArray(kCrLf), true};
    if (command == "x") {
        loggedOn_ = false;
        return {};
    }
    if (command.startsWith('a')) {
        loggedOn_ = false;
        return logOn(command);
    }
    return commands_.run(command);
}

QList<PanelOutput> PanelEngine::finish(PanelReply reply, bool inSession)
{
    if (reply.isEmpty())
        return {};
    if (inSession && faults_.bareOk)
        reply = PanelReply{QByteArray(), true, 0};
    else if (inSession && faults_.emptyReplies)
        reply = PanelReply{QByteArray(kCrLf), false, 0};
    if (faults_.junk)
        reply.text.prepend(shaper_.junkLine() + kCrLf);
    if (reply.ok && inSession && faults_.dropOk) {
        faults_.dropOk = false;
        reply.ok = false;
    }
    QList<PanelOutput> pieces;
    if (!reply.text.isEmpty())
        pieces << PanelOutput{reply.text, 0, 0};
    if (reply.ok)
        pieces << PanelOutput{QByteArray("OK") + kCrLf, 0, reply.okNotBeforeMs};
    return throughLine(shaper_.shape(pieces, faults_, true));
}

// The line-drop fault: what the panel sends is cut after the bytes still
// allowed, and the session ends with the line.
QList<PanelOutput> PanelEngine::throughLine(const QList<PanelOutput> &pieces)
{
    if (faults_.dropLineAfter <= 0)
        return pieces;
    QList<PanelOutput> out;
    for (PanelOutput piece : pieces) {
        if (piece.bytes.size() < faults_.dropLineAfter) {
            faults_.dropLineAfter -= int(piece.bytes.size());
            out << piece;
            continue;
        }
        piece.bytes.truncate(faults_.dropLineAfter);
        out << piece;
        faults_.dropLineAfter = 0;
        hangUp_ = true;
        lineDropped();
        break;
    }
    return out;
}

bool PanelEngine::presentTag(const QByteArray &code, bool corruptCheck)
{
    const std::optional<QByteArray> tag = PanelLines::normaliseTag(code);
    if (!tag)
        return false;
    if (const std::optional<QByteArray> room = memory_.roomOfTag(*tag); room && !corruptCheck) {
        PanelEvent event;
        event.kind = PanelEvent::Kind::Room;
        event.when = clock_.now();
        event.room = *room;
        event.relay = 1;
        event.source = PanelEvent::RfId;
        event.name = memory_.nameOfRoom(*room);
        memory_.addEvent(event);
    }
    if (!faults_.silent)
        unsolicited_ += throughLine(
            shaper_.shape({PanelOutput{PanelLines::tagLine(*tag, corruptCheck) + kCrLf}}, faults_, false));
    return true;
}

void PanelEngine::sendJunkLine()
{
    if (!faults_.silent)
        unsolicited_ += throughLine(shaper_.shape({PanelOutput{shaper_.junkLine() + kCrLf}}, faults_, false));
}

QList<PanelOutput> PanelEngine::takeUnsolicited()
{
    QList<PanelOutput> out;
    out.swap(unsolicited_);
    return out;
}

void PanelEngine::lineDropped()
{
    loggedOn_ = false;
    input_.clear();
    overflow_ = false;
}

QString PanelEngine::describeCommand(const QByteArray &command)
{
    QByteArray shown = command;
    if (shown.startsWith('a'))
        shown = "a****";
    else if (shown.startsWith("p0000"))
        shown = "p0000****";
    QString out;
    for (char c : shown) {
        const uchar u = uchar(c);
        if (u >= 0x20 && u < 0x7F && u != '\\')
            out += QLatin1Char(c);
        else
            out += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
    }
    return out;
}
