#pragma once

#include "PanelClock.h"
#include "PanelCommands.h"
#include "PanelFaults.h"
#include "PanelMemory.h"
#include "PanelModelProfile.h"
#include "PanelOutput.h"
#include "ReplyShaper.h"

#include <QByteArray>
#include <QList>
#include <functional>
#include <utility>

// The virtual Corvalen Xarn panel, without any line: bytes go in, timed
// output comes out. It keeps the memory of one model, the PIN, an event log
// and a clock; it answers a command when its CR arrives; it changes nothing
// before a successful log-on; "x" ends the session. Time is whatever the
// caller says it is (advance()), so that tests are exact.
//
// Before a log-on:   CR -> the banner with the identity as line 3;
//                    "a" PIN -> "OK" for the right PIN, "Access denied" else.
// In a session:      CR -> an empty line and "OK"; "x" ends it; the memory
//                    commands are PanelCommands'.
class PanelEngine
{
public:
    static constexpr int kMaxCommand = 512; // longer input is refused whole

    explicit PanelEngine(const PanelModelProfile &model = PanelModelProfile::forModel(QStringLiteral("1000")));
    explicit PanelEngine(const QString &modelOrIdentity) : PanelEngine(PanelModelProfile::forModel(modelOrIdentity)) {}

    const PanelModelProfile &model() const { return model_; }
    QByteArray identity() const { return identity_; }
    // Announce another identity (a wrong one, say) over the same memory.
    void setIdentity(const QByteArray &identity) { identity_ = identity; }

    PanelMemory &memory() { return memory_; }
    const PanelMemory &memory() const { return memory_; }
    PanelClock &clock() { return clock_; }
    const PanelClock &clock() const { return clock_; }
    PanelFaults &faults() { return faults_; }
    void setSeed(quint32 seed) { shaper_.reseed(seed); }

    QByteArray pin() const { return memory_.pin(); }
    void setPin(const QByteArray &pin) { memory_.setPin(pin); }

    // Bytes from the line. Returns the timed replies to every command that
    // the bytes complete.
    QList<PanelOutput> receive(const QByteArray &bytes);
    // The same, joined: just the bytes, for callers that ignore timing.
    QByteArray feed(const QByteArray &bytes);

    // What the panel sends of its own accord (tag lines, noise), in order.
    QList<PanelOutput> takeUnsolicited();
    bool hasUnsolicited() const { return !unsolicited_.isEmpty(); }

    // A tag held to the reader: the reader's line goes out by itself, and a
    // tag of the RFID store opens relay 1 for its room (an event is logged).
    // False for a code that is not ten hexadecimal digits.
    bool presentTag(const QByteArray &code, bool corruptCheck = false);
    void sendJunkLine();

    // Time passes for the clock.
    void advance(qint64 ms) { clock_.advance(ms); }

    // The line dropped (the program closed the port): the session ends and a
    // half-received command is forgotten.
    void lineDropped();

    // True once after the line-drop fault has cut the output: the line
    // must go down when what was sent before the cut has left.
    bool takeHangUp() { return std::exchange(hangUp_, false); }

    bool loggedOn() const { return loggedOn_; }
    // Goes up with every change the panel would keep over a power cut
    // (records, events, the clock being set).
    quint64 revision() const { return memory_.revision() + clock_.revision(); }

    // Called with every command received (without its CR).
    void setCommandObserver(std::function<void(const QByteArray &)> observer) { observer_ = std::move(observer); }
    // A command as it may be shown in a log: the PIN of "a" and of record
    // 0000 becomes "****", other bytes outside printable ASCII \xHH.
    static QString describeCommand(const QByteArray &command);

    QByteArray banner() const;

private:
    QList<PanelOutput> answer(const QByteArray &command, bool tooLong);
    PanelReply logOn(const QByteArray &command);
    PanelReply session(const QByteArray &command);
    QList<PanelOutput> finish(PanelReply reply, bool inSession);
    QList<PanelOutput> throughLine(const QList<PanelOutput> &pieces);

    PanelModelProfile model_;
    QByteArray identity_;
    PanelMemory memory_;
    PanelClock clock_;
    PanelFaults faults_;
    PanelCommands commands_;
    ReplyShaper shaper_;
    bool loggedOn_ = false;
    bool hangUp_ = false;
    QByteArray input_;
    bool overflow_ = false;
    QList<PanelOutput> unsolicited_;
    std::function<void(const QByteArray &)> observer_;
};
