#include "history/SystemParameterChanges.h"

#include "parameters/NibbleCodec.h"
#include "parameters/ParameterControlInfo.h"

namespace SystemParameterChanges {

namespace {

const QLatin1String kRecordField("System parameters");

int byteAt(const QByteArray &record, int index)
{
    return NibbleCodec::DecodeNibbleByte(record.mid(2 * index, 2)).toInt();
}

// The page's label, without its notes ("Button on time (s)  NB: ...").
QString label(ParamEdit edit)
{
    const QString text = QLatin1String(ParameterControlInfo::edit(edit).label);
    const qsizetype notes = text.indexOf(QLatin1String("  "));
    return notes < 0 ? text : text.left(notes);
}

QString caption(ParamCheck check)
{
    return QLatin1String(ParameterControlInfo::check(check).caption);
}

QByteArray onOff(bool on)
{
    return on ? QByteArrayLiteral("on") : QByteArrayLiteral("off");
}

QByteArray relay2Choice(int value)
{
    switch (value & ~8) {
    case 0: return ParameterControlInfo::check(ParamCheck::rly2off).caption;
    case 1: return ParameterControlInfo::check(ParamCheck::rly2key).caption;
    case 2: return ParameterControlInfo::check(ParamCheck::rly2line).caption;
    }
    return QByteArray::number(value & ~8);
}

} // namespace

QList<ParameterComparison::FieldChange> between(const QByteArray &before, const QByteArray &after)
{
    QList<ParameterComparison::FieldChange> out;
    const auto add = [&out](const QString &name, const QByteArray &a, const QByteArray &b) {
        if (a != b)
            out.append({name, a, b});
    };
    static const std::pair<int, ParamEdit> numbers[] = {
        {0, ParamEdit::Phs_ml},    {1, ParamEdit::Phs_sl},   {2, ParamEdit::Phs_rt},  {3, ParamEdit::Phs_run},
        {4, ParamEdit::Phs_rc},    {5, ParamEdit::Sil_time}, {6, ParamEdit::Cont_time}, {9, ParamEdit::Phs_lt},
        {10, ParamEdit::Phs_ls},   {11, ParamEdit::Phs_na},  {13, ParamEdit::Phs_but},
    };
    for (const auto &[index, edit] : numbers)
        add(label(edit), QByteArray::number(byteAt(before, index)), QByteArray::number(byteAt(after, index)));
    add(caption(ParamCheck::Opt_sw2_1), onOff(byteAt(before, 8) & 1), onOff(byteAt(after, 8) & 1));

    const int relayBefore = byteAt(before, 12);
    const int relayAfter = byteAt(after, 12);
    add(QStringLiteral("Relay2 Override"), relay2Choice(relayBefore), relay2Choice(relayAfter));
    add(caption(ParamCheck::rly2tim), onOff(relayBefore & 8), onOff(relayAfter & 8));

    const int bitsBefore = byteAt(before, 15);
    const int bitsAfter = byteAt(after, 15);
    for (int c = 0; c < ParamCheckCount; ++c) {
        const ParamCheckInfo &info = ParameterControlInfo::check(ParamCheck(c));
        if (info.optionBit >= 0)
            add(QLatin1String(info.caption), onOff(bitsBefore & (1 << info.optionBit)),
                onOff(bitsAfter & (1 << info.optionBit)));
    }
    // Bytes 7 and 14 are always "00"; anything else there still shows.
    for (int index : {7, 14})
        add(QStringLiteral("System parameters byte %1").arg(index), QByteArray::number(byteAt(before, index)),
            QByteArray::number(byteAt(after, index)));
    return out;
}

QList<ParameterComparison::FieldChange> expand(const QList<ParameterComparison::FieldChange> &changes)
{
    QList<ParameterComparison::FieldChange> out;
    for (const ParameterComparison::FieldChange &c : changes) {
        if (c.field == kRecordField && !c.before.isEmpty() && !c.after.isEmpty()) {
            const QList<ParameterComparison::FieldChange> values = between(c.before, c.after);
            // A difference the values do not show (a byte beyond the nibble
            // alphabet) keeps the record's own line.
            out.append(values.isEmpty() ? QList<ParameterComparison::FieldChange>{c} : values);
        } else {
            out.append(c);
        }
    }
    return out;
}

} // namespace SystemParameterChanges
