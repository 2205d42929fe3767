#pragma once

#include "PanelEngine.h"
#include "PanelTransmitter.h"
#include "support/FakePanelPort.h"

// The virtual panel behind a FakePanelPort, on the test's (virtual) time:
//
//     LinkHarness h;
//     EnginePanel panel(h.port);          // a 1000 model, PIN 1234, paced at 57600 baud
//     panel.engine().memory().record(1);  // inspect or prepare the memory
//     panel.presentTag("04A1B2C3D4");     // the reader's line arrives by itself
//
// Every command the program writes goes to the engine; its replies arrive
// as the real line would deliver them (latency, gaps, 173.6 us a byte, in
// bursts of at most a millisecond). The panel's clock moves with the test's
// clock. When the engine's line-drop fault cuts its output, the port drops
// the line once the bytes before the cut have arrived.
class EnginePanel
{
public:
    explicit EnginePanel(FakePanelPort &port, const QString &model = QStringLiteral("1000"));
    ~EnginePanel();

    PanelEngine &engine() { return engine_; }
    PanelMemory &memory() { return engine_.memory(); }
    PanelFaults &faults() { return engine_.faults(); }

    // Pacing at the line rate (on by default).
    void setPacing(bool on);

    // A tag held to the reader now, or after delayNs.
    void presentTag(const QByteArray &code, qint64 delayNs = 0, bool corruptCheck = false);
    // Sends whatever the engine queued of its own accord.
    void flushUnsolicited();

    // What the panel has put on the line: bytes in all, and the longest
    // single reply or unsolicited line.
    qint64 bytesSent() const { return bytesSent_; }
    qint64 longestOutput() const { return longestOutput_; }
    void clearCounts() { bytesSent_ = longestOutput_ = 0; }

private:
    QByteArray respond(const QByteArray &command);
    void send(const QList<PanelOutput> &pieces);
    void syncClock();

    FakePanelPort &port_;
    PanelEngine engine_;
    PanelTransmitter transmitter_;
    qint64 clockSyncedNs_ = 0;
    qint64 bytesSent_ = 0;
    qint64 longestOutput_ = 0;
};
