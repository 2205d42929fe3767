#include "parameters/ParameterRecords.h"

#include "parameters/ParameterControls.h"
#include "parameters/RecordFields.h"
#include "directory/DialDigits.h"

using RecordFields::CleanReplyField;
using RecordFields::kErased;
using RecordFields::PadField;
using RecordFields::slice;

namespace ParameterRecords {

namespace {

// A field of a record: the text filled to its width. The edits never hold
// more than the width; should one do so, the text is cut so that the record
// keeps its layout.
QByteArray field(const QByteArray &text, int width, char fill)
{
    return PadField(text.left(width), width, fill);
}

constexpr ParamEdit kCodes[] = {ParamEdit::code_g1,  ParamEdit::code_g2,  ParamEdit::code_ic1,
                                ParamEdit::code_ic2, ParamEdit::code_sd1, ParamEdit::code_sd2};

// The two message edits of a record that holds two, or the one of a record
// that holds one (second is then the first).
struct MessagePair
{
    ParamEdit first;
    ParamEdit second;
    bool halves;
};

MessagePair messagesOf(int record)
{
    switch (record) {
    case 2: return {ParamEdit::msg0, ParamEdit::msg1, true};
    case 3: return {ParamEdit::msg2, ParamEdit::msg2, false};
    case 4: return {ParamEdit::msg3, ParamEdit::msg3, false};
    default: return {ParamEdit::msg4, ParamEdit::msg5, true};
    }
}

ParamEdit dialOf(int record, int half)
{
    const int first = int(ParamEdit::spd1) + 2 * (qBound(7, record, 10) - 7);
    return ParamEdit(first + half);
}

} // namespace

QByteArray EncodePin(const ParameterControls &c)
{
    return field(c.text(ParamEdit::NewPin), 32, kErased);
}

QByteArray EncodeMessages(const ParameterControls &c, int record)
{
    const MessagePair m = messagesOf(record);
    if (!m.halves)
        return field(c.text(m.first), 32, '\0');
    return field(c.text(m.first), 16, ' ') + field(c.text(m.second), 16, ' ');
}

void DecodeMessages(ParameterControls &c, int record, const QByteArray &payload)
{
    const MessagePair m = messagesOf(record);
    if (!m.halves) {
        c.setText(m.first, CleanReplyField(slice(payload, 1, 32)));
        return;
    }
    c.setText(m.first, CleanReplyField(slice(payload, 1, 16)));
    c.setText(m.second, CleanReplyField(slice(payload, 17, 32)));
}

QByteArray EncodeGateCodes(const ParameterControls &c)
{
    QByteArray payload;
    for (ParamEdit code : kCodes)
        payload += RecordFields::EncodeGateCode(c.text(code));
    return PadField(payload, 32, kErased);
}

void DecodeGateCodes(ParameterControls &c, const QByteArray &payload)
{
    for (int i = 0; i < 6; ++i)
        c.setText(kCodes[i], CleanReplyField(slice(payload, 4 * i + 1, 4 * i + 4)));
}

QByteArray EncodeSpeedDials(const ParameterControls &c, int record)
{
    QByteArray payload;
    for (int half = 0; half < 2; ++half)
        payload += field(EncodeDialDigits(c.text(dialOf(record, half)), 16), 16, kErased);
    return payload;
}

void DecodeSpeedDials(ParameterControls &c, int record, const QByteArray &payload)
{
    for (int half = 0; half < 2; ++half) {
        const QByteArray cleaned = CleanReplyField(slice(payload, 16 * half + 1, 16 * half + 16));
        c.setText(dialOf(record, half), DecodeDialDigits(cleaned));
    }
}

} // namespace ParameterRecords
