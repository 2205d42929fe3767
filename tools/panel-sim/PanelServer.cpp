#include "PanelServer.h"

#include "PanelLines.h"

PanelServer::PanelServer(PanelEngine &engine, QObject *parent)
    : QObject(parent)
    , engine_(engine)
{
    monotonic_.start();
    revision_ = engine_.revision();
    transmitTimer_.setSingleShot(true);
    transmitTimer_.setTimerType(Qt::PreciseTimer);
    connect(&transmitTimer_, &QTimer::timeout, this, &PanelServer::transmit);
    setPacing(true);
    engine_.setCommandObserver(
        [this](const QByteArray &command) { emit commandReceived(PanelEngine::describeCommand(command)); });
}

PanelServer::~PanelServer()
{
    engine_.setCommandObserver({});
}

void PanelServer::setPacing(bool on)
{
    pacing_ = on;
    transmitter_.setByteTimeNs(on ? PanelTransmitter::byteTimeNs(baud_) : 0);
}

void PanelServer::setBaudRate(int baud)
{
    baud_ = baud > 0 ? baud : PanelTransmitter::kDefaultBaud;
    setPacing(pacing_);
}

void PanelServer::setAttached(bool attached)
{
    if (attached_ == attached)
        return;
    attached_ = attached;
    if (attached) {
        received_ = sent_ = 0;
        ++sessions_;
    }
    emit programAttachedChanged(attached);
}

void PanelServer::endSession()
{
    transmitTimer_.stop();
    transmitter_.clear();
    engine_.lineDropped();
}

void PanelServer::syncClock()
{
    const qint64 ms = monotonic_.elapsed();
    engine_.advance(ms - clockSyncedMs_);
    clockSyncedMs_ = ms;
}

void PanelServer::noteChanges()
{
    if (engine_.revision() != revision_) {
        revision_ = engine_.revision();
        emit memoryChanged();
    }
}

void PanelServer::received(const QByteArray &bytes)
{
    received_ += bytes.size();
    syncClock();
    send(engine_.receive(bytes));
    noteChanges();
}

void PanelServer::send(const QList<PanelOutput> &pieces)
{
    if (pieces.isEmpty() || !attached_)
        return;
    transmitter_.send(pieces, nowNs());
    schedule();
}

void PanelServer::schedule()
{
    if (transmitter_.idle()) {
        transmitTimer_.stop();
        return;
    }
    const qint64 waitNs = transmitter_.nextDueNs() - nowNs();
    transmitTimer_.start(waitNs <= 0 ? 0 : int((waitNs + 999999) / 1000000));
}

void PanelServer::transmit()
{
    const QByteArray bytes = transmitter_.take(nowNs());
    if (!bytes.isEmpty()) {
        sent_ += bytes.size();
        writeOut(bytes);
    }
    if (isOpen() && attached_)
        schedule();
}

bool PanelServer::presentTag(const QByteArray &code, int delayMs, bool corruptCheck)
{
    if (!PanelLines::normaliseTag(code))
        return false;
    if (delayMs > 0) {
        ++tagsDue_;
        QTimer::singleShot(delayMs, this, [this, code, corruptCheck] {
            --tagsDue_;
            presentTag(code, 0, corruptCheck);
        });
        return true;
    }
    syncClock();
    engine_.presentTag(code, corruptCheck);
    send(engine_.takeUnsolicited());
    noteChanges();
    return true;
}

void PanelServer::sendJunkLine()
{
    engine_.sendJunkLine();
    send(engine_.takeUnsolicited());
}
