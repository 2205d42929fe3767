#include "link/PortChoice.h"

#include "link/LogOnDetails.h"

PortChoice::PortChoice(SerialPort &port, QString detailsFileName, QObject *parent)
    : QObject(parent)
    , port_(port)
    , detailsFileName_(std::move(detailsFileName))
{
    port_.setPortName(QStringLiteral("COM2"));
}

void PortChoice::choose(int n)
{
    if (n < 1 || n > 4)
        return;
    portNumber_ = n;
    checked_ = 0;
    emit checkedChanged(0);
    StorePortNumber(detailsFileName_, portNumber_);
    checked_ = n;
    emit checkedChanged(n);
    port_.setPortName(QStringLiteral("com%1").arg(n));
}
