#pragma once

#include "link/TelnetCodec.h"

#include <QByteArray>
#include <QString>
#include <array>

// The client's side of a Telnet COM Port Control session (RFC 2217), without
// a socket. It asks for BINARY and SUPPRESS-GO-AHEAD both ways and for
// COM-PORT-OPTION on its own side, refuses every other option, sets the far
// port's line once the server agrees (baud rate, data bits, parity, stop
// bits, no flow control, DTR and RTS) and checks what the server confirms.
// The session is ready when the option is agreed and baud rate, data bits,
// parity and stop bits are confirmed as asked; DTR and RTS are set but not
// waited for (a server whose device has no modem lines does not confirm
// them).
class Rfc2217Session
{
public:
    static constexpr quint8 kBinary = 0;
    static constexpr quint8 kEcho = 1;
    static constexpr quint8 kSuppressGoAhead = 3;
    static constexpr quint8 kComPortOption = 44;
    // COM-PORT-OPTION commands from the client; the server answers each with
    // the same command plus 100.
    enum ComPortCommand : quint8 {
        SetBaudRate = 1,
        SetDataSize = 2,
        SetParity = 3,
        SetStopSize = 4,
        SetControl = 5,
        kServerOffset = 100,
    };
    enum ControlValue : quint8 {
        NoFlowControl = 1,
        DtrOn = 8,
        DtrOff = 9,
        RtsOn = 11,
        RtsOff = 12,
    };
    static constexpr quint8 kParityNone = 1;

    struct LineSettings
    {
        quint32 baud = 57600;
        quint8 dataBits = 8;
        bool oneStopBit = true;
        bool dtr = true;
        bool rts = true;
    };

    Rfc2217Session();
    explicit Rfc2217Session(const LineSettings &line);

    // What the client says first.
    QByteArray start();
    // Received bytes: gives the data among them; *reply gets what must go
    // back to the server (answers to its requests, the line settings).
    QByteArray receive(const QByteArray &bytes, QByteArray *reply);
    // Data for the wire.
    QByteArray encode(const QByteArray &data) const;

    // Changes of the line while the session runs: the bytes to send (none
    // before the option is agreed; the settings then go out with the rest).
    QByteArray setDtr(bool on);
    QByteArray setRts(bool on);
    QByteArray setOneStopBit(bool one);

    bool ready() const;
    // Why the server cannot serve this session; empty while it still may.
    QString failure() const { return failure_; }
    bool binaryOut() const { return us_[kBinary] == Yes; }
    bool binaryIn() const { return codec_.binaryIn(); }

private:
    enum OptionState : quint8 { No, Yes, Asked };

    void handle(const TelnetCodec::Command &command, QByteArray *reply);
    void onDo(quint8 option, QByteArray *reply);
    void onDont(quint8 option, QByteArray *reply);
    void onWill(quint8 option, QByteArray *reply);
    void onWont(quint8 option, QByteArray *reply);
    void onComPort(const QByteArray &payload);
    QByteArray lineSettings() const;
    static QByteArray comPort(quint8 command, const QByteArray &value);
    static bool wantedForUs(quint8 option);
    static bool wantedForServer(quint8 option);

    LineSettings line_;
    TelnetCodec codec_;
    std::array<OptionState, 256> us_{};     // options on our side
    std::array<OptionState, 256> server_{}; // options on the server's side
    // Confirmations of baud rate, data size, parity and stop size.
    std::array<bool, 4> confirmed_{};
    QString failure_;
};
