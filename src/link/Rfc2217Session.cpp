#include "link/Rfc2217Session.h"

#include <QtEndian>

using T = TelnetCodec;

Rfc2217Session::Rfc2217Session()
    : Rfc2217Session(LineSettings{})
{
}

Rfc2217Session::Rfc2217Session(const LineSettings &line)
    : line_(line)
{
}

bool Rfc2217Session::wantedForUs(quint8 option)
{
    return option == kBinary || option == kSuppressGoAhead || option == kComPortOption;
}

bool Rfc2217Session::wantedForServer(quint8 option)
{
    return option == kBinary || option == kSuppressGoAhead;
}

QByteArray Rfc2217Session::start()
{
    QByteArray out;
    for (quint8 option : {kBinary, kSuppressGoAhead, kComPortOption}) {
        us_[option] = Asked;
        out += T::negotiation(T::WILL, option);
    }
    for (quint8 option : {kBinary, kSuppressGoAhead}) {
        server_[option] = Asked;
        out += T::negotiation(T::DO, option);
    }
    return out;
}

QByteArray Rfc2217Session::receive(const QByteArray &bytes, QByteArray *reply)
{
    TelnetCodec::Decoded decoded = codec_.decode(bytes);
    for (const TelnetCodec::Command &command : decoded.commands)
        handle(command, reply);
    return decoded.data;
}

QByteArray Rfc2217Session::encode(const QByteArray &data) const
{
    return T::escape(data, binaryOut());
}

void Rfc2217Session::handle(const TelnetCodec::Command &command, QByteArray *reply)
{
    switch (command.code) {
    case T::DO: onDo(command.option, reply); break;
    case T::DONT: onDont(command.option, reply); break;
    case T::WILL: onWill(command.option, reply); break;
    case T::WONT: onWont(command.option, reply); break;
    case T::SB:
        if (command.option == kComPortOption)
            onComPort(command.payload);
        break;
    default: break; // NOP, GA, data mark and the like mean nothing here
    }
}

// The server asks us to use an option.
void Rfc2217Session::onDo(quint8 option, QByteArray *reply)
{
    if (!wantedForUs(option)) {
        *reply += T::negotiation(T::WONT, option);
        return;
    }
    const OptionState was = us_[option];
    us_[option] = Yes;
    if (was == No)
        *reply += T::negotiation(T::WILL, option);
    if (was != Yes && option == kComPortOption)
        *reply += lineSettings();
}

// The server refuses an option of ours, or asks us to stop using it.
void Rfc2217Session::onDont(quint8 option, QByteArray *reply)
{
    const OptionState was = us_[option];
    us_[option] = No;
    if (was == Yes)
        *reply += T::negotiation(T::WONT, option);
    if (option == kComPortOption && failure_.isEmpty())
        failure_ = QStringLiteral("the server does not control the serial port (it refuses RFC 2217)");
}

// The server offers to use an option on its side.
void Rfc2217Session::onWill(quint8 option, QByteArray *reply)
{
    if (!wantedForServer(option)) {
        *reply += T::negotiation(T::DONT, option);
        return;
    }
    const OptionState was = server_[option];
    server_[option] = Yes;
    if (was == No)
        *reply += T::negotiation(T::DO, option);
    if (option == kBinary)
        codec_.setBinaryIn(true);
}

// The server refuses an option on its side, or stops using it.
void Rfc2217Session::onWont(quint8 option, QByteArray *reply)
{
    const OptionState was = server_[option];
    server_[option] = No;
    if (was == Yes)
        *reply += T::negotiation(T::DONT, option);
    if (option == kBinary)
        codec_.setBinaryIn(false);
}

QByteArray Rfc2217Session::comPort(quint8 command, const QByteArray &value)
{
    return T::subnegotiation(kComPortOption, char(command) + value);
}

QByteArray Rfc2217Session::lineSettings() const
{
    char baud[4];
    qToBigEndian(line_.baud, baud);
    return comPort(SetBaudRate, QByteArray(baud, 4)) + comPort(SetDataSize, QByteArray(1, char(line_.dataBits)))
           + comPort(SetParity, QByteArray(1, char(kParityNone)))
           + comPort(SetStopSize, QByteArray(1, char(line_.oneStopBit ? 1 : 2)))
           + comPort(SetControl, QByteArray(1, char(NoFlowControl)))
           + comPort(SetControl, QByteArray(1, char(line_.dtr ? DtrOn : DtrOff)))
           + comPort(SetControl, QByteArray(1, char(line_.rts ? RtsOn : RtsOff)));
}

// A confirmation (or a notice) from the server.
void Rfc2217Session::onComPort(const QByteArray &payload)
{
    if (payload.size() < 2)
        return;
    const quint8 command = quint8(payload.at(0));
    if (command < kServerOffset + SetBaudRate || command > kServerOffset + SetStopSize)
        return; // control confirmations, line and modem state notices
    const int which = command - kServerOffset - SetBaudRate;
    QString mismatch;
    switch (command - kServerOffset) {
    case SetBaudRate: {
        if (payload.size() < 5)
            return;
        const quint32 baud = qFromBigEndian<quint32>(payload.constData() + 1);
        if (baud != line_.baud)
            mismatch = QStringLiteral("the server runs the line at %1 baud, not %2").arg(baud).arg(line_.baud);
        break;
    }
    case SetDataSize:
        if (quint8(payload.at(1)) != line_.dataBits)
            mismatch = QStringLiteral("the server runs the line with %1 data bits, not %2")
                           .arg(quint8(payload.at(1)))
                           .arg(line_.dataBits);
        break;
    case SetParity:
        if (quint8(payload.at(1)) != kParityNone)
            mismatch = QStringLiteral("the server runs the line with parity, not without");
        break;
    case SetStopSize: {
        const quint8 asked = line_.oneStopBit ? 1 : 2;
        if (quint8(payload.at(1)) != asked)
            mismatch = QStringLiteral("the server does not run the line with %1 stop bit(s)").arg(asked);
        break;
    }
    }
    if (!mismatch.isEmpty() && failure_.isEmpty())
        failure_ = mismatch;
    confirmed_[size_t(which)] = true;
}

QByteArray Rfc2217Session::setDtr(bool on)
{
    line_.dtr = on;
    return us_[kComPortOption] == Yes ? comPort(SetControl, QByteArray(1, char(on ? DtrOn : DtrOff))) : QByteArray();
}

QByteArray Rfc2217Session::setRts(bool on)
{
    line_.rts = on;
    return us_[kComPortOption] == Yes ? comPort(SetControl, QByteArray(1, char(on ? RtsOn : RtsOff))) : QByteArray();
}

QByteArray Rfc2217Session::setOneStopBit(bool one)
{
    if (line_.oneStopBit == one)
        return {};
    line_.oneStopBit = one;
    confirmed_[SetStopSize - SetBaudRate] = false;
    return us_[kComPortOption] == Yes ? comPort(SetStopSize, QByteArray(1, char(one ? 1 : 2))) : QByteArray();
}

bool Rfc2217Session::ready() const
{
    if (!failure_.isEmpty() || us_[kComPortOption] != Yes)
        return false;
    for (bool c : confirmed_)
        if (!c)
            return false;
    return true;
}
