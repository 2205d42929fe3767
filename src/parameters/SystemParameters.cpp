#include "parameters/SystemParameters.h"

#include "link/UserPrompt.h"
#include "parameters/NibbleCodec.h"
#include "parameters/ParameterControlInfo.h"
#include "parameters/ParameterControls.h"
#include "parameters/RecordFields.h"
#include "parameters/WholeNumber.h"

namespace SystemParameters {

using NibbleCodec::DecodeNibbleByte;
using NibbleCodec::EncodeNibbleByte;

namespace {

// The order in which the numeric edits are clamped before a write.
constexpr ParamEdit kClampOrder[] = {
    ParamEdit::Phs_run, ParamEdit::Phs_but, ParamEdit::Phs_rt,  ParamEdit::Phs_sl,
    ParamEdit::Phs_ml,  ParamEdit::Phs_lt,  ParamEdit::Phs_ls,  ParamEdit::Phs_rc,
    ParamEdit::Phs_na,  ParamEdit::Sil_time, ParamEdit::Cont_time,
};

// The controls of the OptionBits byte, bit 0 first.
constexpr ParamCheck kOptionBits[] = {
    ParamCheck::opt930, ParamCheck::opt931, ParamCheck::opt932,     ParamCheck::opt933,
    ParamCheck::opt934, ParamCheck::GlobalCode, ParamCheck::opt936, ParamCheck::opt937,
};

std::optional<int> readNumber(const QByteArray &text, UserPrompt &prompt)
{
    const std::optional<int> value = WholeNumber::parse(text);
    if (!value)
        prompt.message(WholeNumber::invalidMessage(text), UserPrompt::Kind::Error);
    return value;
}

QByteArray byteAt(const QByteArray &payload, int byte)
{
    return DecodeNibbleByte(RecordFields::slice(payload, 2 * byte + 1, 2 * byte + 2));
}

} // namespace

QByteArray EncodeRelay2Mode(const ParameterControls &c)
{
    int mode = 0;
    if (c.isChecked(ParamCheck::rly2key))
        mode = 1;
    else if (c.isChecked(ParamCheck::rly2line))
        mode = 2;
    if (c.isChecked(ParamCheck::rly2tim))
        mode += 8;
    return EncodeNibbleByte(mode);
}

bool DecodeRelay2Mode(ParameterControls &c, const QByteArray &decimal, UserPrompt &prompt)
{
    const std::optional<int> value = readNumber(decimal, prompt);
    if (!value)
        return false;
    int mode = *value;
    if (mode < 8) {
        c.setChecked(ParamCheck::rly2tim, false);
    } else {
        c.setChecked(ParamCheck::rly2tim, true);
        mode -= 8;
    }
    if (mode == 0)
        c.setChecked(ParamCheck::rly2off, true);
    else if (mode == 1)
        c.setChecked(ParamCheck::rly2key, true);
    else if (mode == 2)
        c.setChecked(ParamCheck::rly2line, true);
    return true;
}

QByteArray EncodeRelayCompatOption(const ParameterControls &c)
{
    return EncodeNibbleByte(c.isChecked(ParamCheck::Opt_sw2_1) ? 1 : 0);
}

bool DecodeRelayCompatOption(ParameterControls &c, const QByteArray &decimal, UserPrompt &prompt)
{
    const std::optional<int> value = readNumber(decimal, prompt);
    if (!value)
        return false;
    c.setChecked(ParamCheck::Opt_sw2_1, (*value & 1) != 0);
    return true;
}

int OptionBits(const ParameterControls &c)
{
    int bits = 0;
    for (int bit = 0; bit < 8; ++bit)
        if (c.isChecked(kOptionBits[bit]))
            bits |= 1 << bit;
    return bits;
}

std::optional<QByteArray> EncodeSystemParameters(ParameterControls &c, UserPrompt &prompt)
{
    for (ParamEdit edit : kClampOrder) {
        const ParamEditInfo &info = ParameterControlInfo::edit(edit);
        const QByteArray text = c.text(edit);
        const std::optional<QByteArray> clamped = RecordFields::ClampParameter(text, info.minimum, info.maximum);
        if (!clamped) {
            prompt.message(WholeNumber::invalidMessage(text), UserPrompt::Kind::Error);
            return std::nullopt;
        }
        c.setText(edit, *clamped);
    }

    // After clamping every numeric edit holds a whole number.
    auto number = [&c](ParamEdit edit) { return EncodeNibbleByte(WholeNumber::parse(c.text(edit)).value_or(0)); };
    QByteArray payload;
    payload += number(ParamEdit::Phs_ml);
    payload += number(ParamEdit::Phs_sl);
    payload += number(ParamEdit::Phs_rt);
    payload += number(ParamEdit::Phs_run);
    payload += number(ParamEdit::Phs_rc);
    payload += number(ParamEdit::Sil_time);
    payload += number(ParamEdit::Cont_time);
    payload += "00";
    payload += EncodeRelayCompatOption(c);
    payload += number(ParamEdit::Phs_lt);
    payload += number(ParamEdit::Phs_ls);
    payload += number(ParamEdit::Phs_na);
    payload += EncodeRelay2Mode(c);
    payload += number(ParamEdit::Phs_but);
    payload += "00";
    payload += EncodeNibbleByte(OptionBits(c));
    return payload;
}

bool DecodeSystemParameters(ParameterControls &c, const QByteArray &payload, UserPrompt &prompt)
{
    const QByteArray record = payload.left(32);

    const ParamEdit leading[] = {ParamEdit::Phs_ml,  ParamEdit::Phs_sl, ParamEdit::Phs_rt,   ParamEdit::Phs_run,
                                 ParamEdit::Phs_rc,  ParamEdit::Sil_time, ParamEdit::Cont_time};
    for (int byte = 0; byte < 7; ++byte)
        c.setText(leading[byte], byteAt(record, byte));

    if (!DecodeRelayCompatOption(c, byteAt(record, 8), prompt))
        return false;

    c.setText(ParamEdit::Phs_lt, byteAt(record, 9));
    c.setText(ParamEdit::Phs_ls, byteAt(record, 10));
    c.setText(ParamEdit::Phs_na, byteAt(record, 11));

    const QByteArray relay2 = byteAt(record, 12);
    if (!DecodeRelay2Mode(c, relay2, prompt))
        return false;
    const int mode = WholeNumber::parse(relay2).value_or(0);
    c.setChecked(ParamCheck::rly2key, (mode & 1) != 0);
    c.setChecked(ParamCheck::rly2line, (mode & 2) != 0);
    c.setChecked(ParamCheck::rly2tim, (mode & 8) != 0);

    c.setText(ParamEdit::Phs_but, byteAt(record, 13));

    const QByteArray optionText = byteAt(record, 15);
    const std::optional<int> options = readNumber(optionText, prompt);
    if (!options)
        return false;
    for (int bit = 0; bit < 8; ++bit)
        c.setChecked(kOptionBits[bit], (*options & (1 << bit)) != 0);
    if ((*options & 0x42) == 0)
        c.setChecked(ParamCheck::RadioButton1, true);

    c.RefreshCodeHighlights();
    return true;
}

} // namespace SystemParameters
