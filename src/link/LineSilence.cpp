#include "link/LineSilence.h"

#include "link/LinkState.h"

LineSilence::LineSilence(const ReceiveState &rx, int limit)
    : rx_(rx)
    , limit_(limit)
    , mark_(rx.BytesReceived)
{
}

void LineSilence::begin()
{
    mark_ = rx_.BytesReceived;
}

bool LineSilence::end()
{
    silentRun_ = rx_.BytesReceived == mark_ ? silentRun_ + 1 : 0;
    mark_ = rx_.BytesReceived;
    return lost();
}

QString LineSilence::lostText()
{
    return QStringLiteral("The Corvalen stopped answering: no reply came to the last writes.");
}
