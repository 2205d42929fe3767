#pragma once

#include <QByteArray>
#include <QList>

// Telnet's framing without a socket: received bytes in, the data bytes and
// the commands between them out; data on its way out with every 0xFF
// doubled. A transition table decides what each byte does in each state, so
// any byte sequence, cut anywhere, lands somewhere defined. A subnegotiation
// longer than kMaxSubnegotiation bytes is dropped whole.
//
// In binary mode CR travels alone; otherwise (the network virtual terminal)
// a CR is sent as CR NUL and a received CR NUL stands for CR.
class TelnetCodec
{
public:
    enum Code : quint8 {
        SE = 240,
        NOP = 241,
        SB = 250,
        WILL = 251,
        WONT = 252,
        DO = 253,
        DONT = 254,
        IAC = 255,
    };
    static constexpr int kMaxSubnegotiation = 256;

    struct Command
    {
        quint8 code = 0;    // WILL, WONT, DO, DONT, SB, or another command (NOP, GA, ...)
        quint8 option = 0;  // the option of a negotiation or subnegotiation
        QByteArray payload; // the bytes of a subnegotiation, 0xFF undoubled
        bool operator==(const Command &) const = default;
    };
    struct Decoded
    {
        QByteArray data;
        QList<Command> commands;
    };

    // Keeps its state between calls: a command may be cut across chunks.
    Decoded decode(const QByteArray &bytes);
    void setBinaryIn(bool on) { binaryIn_ = on; }
    bool binaryIn() const { return binaryIn_; }

    static QByteArray escape(const QByteArray &data, bool binary = true);
    static QByteArray negotiation(quint8 code, quint8 option);
    static QByteArray subnegotiation(quint8 option, const QByteArray &payload);

    enum class State : quint8 { Data, DataCr, Iac, Option, SbOption, SbData, SbIac };
    enum class Action : quint8 {
        None,
        Data,        // the byte is data
        DataCr,      // a CR: data, then DataCr unless binary
        DataFF,      // IAC IAC: the data byte 0xFF
        Verb,        // WILL, WONT, DO or DONT: the option follows
        Negotiation, // the option of a negotiation
        Command,     // a command without option
        SbBegin,     // the option of a subnegotiation
        SbByte,      // a byte of a subnegotiation
        SbFF,        // IAC IAC inside a subnegotiation
        SbEnd,       // IAC SE
        SbDrop,      // IAC and anything else inside a subnegotiation: it is dropped
    };
    State state() const { return state_; }

private:
    State state_ = State::Data;
    bool binaryIn_ = false;
    quint8 verb_ = 0;
    Command sub_;
    bool subTooLong_ = false;
};
