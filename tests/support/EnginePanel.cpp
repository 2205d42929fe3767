#include "support/EnginePanel.h"

namespace {
constexpr qint64 kBurstNs = 1000000; // a byte stream is delivered a millisecond at a time
}

EnginePanel::EnginePanel(FakePanelPort &port, const QString &model)
    : port_(port)
    , engine_(model)
{
    clockSyncedNs_ = port_.scheduler().nowNs();
    port_.setResponder([this](const QByteArray &command) { return respond(command); });
}

EnginePanel::~EnginePanel()
{
    port_.setResponder({});
}

void EnginePanel::setPacing(bool on)
{
    transmitter_.setByteTimeNs(on ? PanelTransmitter::byteTimeNs(PanelTransmitter::kDefaultBaud) : 0);
}

void EnginePanel::syncClock()
{
    const qint64 now = port_.scheduler().nowNs();
    const qint64 ms = (now - clockSyncedNs_) / 1000000;
    engine_.advance(ms);
    clockSyncedNs_ += ms * 1000000;
}

QByteArray EnginePanel::respond(const QByteArray &command)
{
    syncClock();
    send(engine_.receive(command + '\r'));
    return {}; // everything goes out through send()
}

void EnginePanel::send(const QList<PanelOutput> &pieces)
{
    if (pieces.isEmpty())
        return;
    const qint64 now = port_.scheduler().nowNs();
    const qint64 bytes = PanelOutput::join(pieces).size();
    bytesSent_ += bytes;
    longestOutput_ = qMax(longestOutput_, bytes);
    transmitter_.send(pieces, now);
    qint64 lastNs = 0;
    for (const PanelTransmitter::Burst &burst : transmitter_.drain(kBurstNs)) {
        port_.inject(burst.bytes, burst.atNs - now);
        lastNs = qMax(lastNs, burst.atNs - now);
    }
    if (engine_.takeHangUp())
        port_.scheduler().in(lastNs + 1, [this] { port_.dropLine(QStringLiteral("The panel hung up")); });
}

void EnginePanel::presentTag(const QByteArray &code, qint64 delayNs, bool corruptCheck)
{
    if (delayNs > 0) {
        port_.scheduler().in(delayNs, [this, code, corruptCheck] { presentTag(code, 0, corruptCheck); });
        return;
    }
    syncClock();
    engine_.presentTag(code, corruptCheck);
    flushUnsolicited();
}

void EnginePanel::flushUnsolicited()
{
    send(engine_.takeUnsolicited());
}
