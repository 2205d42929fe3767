#include "link/TelnetCodec.h"

#include <array>

namespace {

using State = TelnetCodec::State;
using Action = TelnetCodec::Action;

// What a byte is to the table.
enum ByteClass : quint8 { Iac, Se, Sb, Verb, Cr, Nul, Other, kClasses };

ByteClass classOf(quint8 b)
{
    switch (b) {
    case TelnetCodec::IAC: return Iac;
    case TelnetCodec::SE: return Se;
    case TelnetCodec::SB: return Sb;
    case TelnetCodec::WILL:
    case TelnetCodec::WONT:
    case TelnetCodec::DO:
    case TelnetCodec::DONT: return Verb;
    case '\r': return Cr;
    case '\0': return Nul;
    default: return Other;
    }
}

struct Step
{
    Action action;
    State next;
    bool again = false; // the byte is looked at once more, in the next state
};

constexpr int kStates = 7;
using A = Action;
using S = State;

constexpr Step kData{A::Data, S::Data};
constexpr Step kAgain{A::None, S::Data, true}; // the byte once more, as data
constexpr Step kCommand{A::Command, S::Data};
constexpr Step kNegotiation{A::Negotiation, S::Data};
constexpr Step kVerb{A::Verb, S::Option};
constexpr Step kSbStart{A::None, S::SbOption};
constexpr Step kSbBegin{A::SbBegin, S::SbData};
constexpr Step kSbByte{A::SbByte, S::SbData};
constexpr Step kSbDrop{A::SbDrop, S::Iac, true};

// Rows by state, columns by byte class: Iac, Se, Sb, Verb, Cr, Nul, Other.
constexpr std::array<std::array<Step, kClasses>, kStates> kTable{{
    /* Data */ {{{A::None, S::Iac}, kData, kData, kData, {A::DataCr, S::Data}, kData, kData}},
    /* DataCr */ {{kAgain, kAgain, kAgain, kAgain, kAgain, {A::None, S::Data}, kAgain}},
    /* Iac */ {{{A::DataFF, S::Data}, {A::None, S::Data}, kSbStart, kVerb, kCommand, kCommand, kCommand}},
    /* Option */ {{kNegotiation, kNegotiation, kNegotiation, kNegotiation, kNegotiation, kNegotiation, kNegotiation}},
    /* SbOption */ {{kSbBegin, kSbBegin, kSbBegin, kSbBegin, kSbBegin, kSbBegin, kSbBegin}},
    /* SbData */ {{{A::None, S::SbIac}, kSbByte, kSbByte, kSbByte, kSbByte, kSbByte, kSbByte}},
    /* SbIac */ {{{A::SbFF, S::SbData}, {A::SbEnd, S::Data}, kSbDrop, kSbDrop, kSbDrop, kSbDrop, kSbDrop}},
}};

} // namespace

TelnetCodec::Decoded TelnetCodec::decode(const QByteArray &bytes)
{
    Decoded out;
    out.data.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const quint8 b = quint8(bytes.at(i));
        const Step step = kTable[size_t(state_)][classOf(b)];
        switch (step.action) {
        case Action::None:
            break;
        case Action::Data:
            out.data.append(char(b));
            break;
        case Action::DataCr:
            out.data.append(char(b));
            break;
        case Action::DataFF:
            out.data.append(char(IAC));
            break;
        case Action::Verb:
            verb_ = b;
            break;
        case Action::Negotiation:
            out.commands.append({verb_, b, {}});
            break;
        case Action::Command:
            out.commands.append({b, 0, {}});
            break;
        case Action::SbBegin:
            sub_ = {SB, b, {}};
            subTooLong_ = false;
            break;
        case Action::SbByte:
        case Action::SbFF:
            if (sub_.payload.size() < kMaxSubnegotiation)
                sub_.payload.append(char(b));
            else
                subTooLong_ = true;
            break;
        case Action::SbEnd:
            if (!subTooLong_)
                out.commands.append(sub_);
            sub_ = {};
            break;
        case Action::SbDrop:
            sub_ = {};
            break;
        }
        state_ = step.next;
        if (step.action == Action::DataCr && !binaryIn_)
            state_ = State::DataCr;
        if (step.again)
            --i;
    }
    return out;
}

QByteArray TelnetCodec::escape(const QByteArray &data, bool binary)
{
    QByteArray out;
    out.reserve(data.size() + data.size() / 8);
    for (char c : data) {
        out.append(c);
        if (quint8(c) == IAC)
            out.append(c);
        else if (c == '\r' && !binary)
            out.append('\0');
    }
    return out;
}

QByteArray TelnetCodec::negotiation(quint8 code, quint8 option)
{
    const char bytes[] = {char(IAC), char(code), char(option)};
    return QByteArray(bytes, 3);
}

QByteArray TelnetCodec::subnegotiation(quint8 option, const QByteArray &payload)
{
    const char begin[] = {char(IAC), char(SB), char(option)};
    const char end[] = {char(IAC), char(SE)};
    return QByteArray(begin, 3) + escape(payload) + QByteArray(end, 2);
}
