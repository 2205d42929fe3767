#include "parameters/ParameterSheet.h"

#include "parameters/NibbleCodec.h"
#include "parameters/ParameterControlInfo.h"
#include "parameters/ParameterControls.h"
#include "parameters/ParameterFileRecord.h"

#include <functional>
#include <optional>

namespace ParameterSheet {

namespace {
using E = ParamEdit;
using C = ParamCheck;

// Where the values come from: nullopt for a value it does not hold.
struct Values
{
    std::function<std::optional<QByteArray>(ParamEdit)> text;
    std::function<std::optional<bool>(ParamCheck)> checked;
};

QString onOff(bool on)
{
    return on ? QStringLiteral("on") : QStringLiteral("off");
}

QList<Line> linesOf(const Values &v, bool secrets)
{
    QList<Line> out;
    auto edit = [&](const QString &group, ParamEdit id, const QString &label = QString()) {
        if (const std::optional<QByteArray> t = v.text(id))
            out << Line{group, label.isEmpty() ? QString::fromLatin1(ParameterControlInfo::edit(id).label) : label,
                        QString::fromLatin1(*t)};
    };
    auto check = [&](const QString &group, ParamCheck id) {
        if (const std::optional<bool> on = v.checked(id))
            out << Line{group, QString::fromLatin1(ParameterControlInfo::check(id).caption), onOff(*on)};
    };
    auto choice = [&](const QString &group, ParamChoice which) {
        int n = 0;
        const ParamCheck *members = ParameterControlInfo::choiceMembers(which, &n);
        const QString title = QString::fromLatin1(ParameterControlInfo::check(members[0]).groupCaption);
        for (int i = 0; i < n; ++i) {
            const std::optional<bool> on = v.checked(members[i]);
            if (!on)
                return;
            if (*on) {
                out << Line{group, title, QString::fromLatin1(ParameterControlInfo::check(members[i]).caption)};
                return;
            }
        }
        out << Line{group, title, QStringLiteral("none chosen")};
    };

    const QString setting = QStringLiteral("Setting");
    for (E id : {E::Phs_ml, E::Phs_sl, E::Phs_rt, E::Phs_run, E::Phs_rc, E::Phs_lt, E::Phs_ls, E::Phs_but})
        edit(setting, id);

    const QString options = QStringLiteral("Options");
    edit(options, E::Cont_time);
    edit(options, E::Sil_time);
    for (C id : {C::opt932, C::opt934, C::Opt_sw2_1, C::opt930, C::GlobalCode})
        check(options, id);
    choice(options, ParamChoice::LineTwoChoice);
    check(options, C::opt937);
    choice(options, ParamChoice::Relay2Override);
    check(options, C::rly2tim);

    const QString messages = QStringLiteral("Messages");
    for (E id : {E::msg0, E::msg1, E::msg2, E::msg3, E::msg4, E::msg5})
        edit(messages, id);

    const QString dials = QStringLiteral("Speed dials");
    for (E id : {E::spd1, E::spd2, E::spd3, E::spd4, E::spd5, E::spd6, E::spd7, E::spd8})
        edit(dials, id);

    if (secrets) {
        const QString codes = QStringLiteral("Gate codes");
        for (E id : {E::code_g1, E::code_g2, E::code_ic1, E::code_ic2, E::code_sd1, E::code_sd2}) {
            const ParamEditInfo &info = ParameterControlInfo::edit(id);
            edit(codes, id, QStringLiteral("%1, %2").arg(QString::fromLatin1(info.label), QString::fromLatin1(info.column)));
        }
        if (const std::optional<QByteArray> pin = v.text(E::NewPin); pin && !pin->isEmpty())
            out << Line{QStringLiteral("PIN"), QString::fromLatin1(ParameterControlInfo::edit(E::NewPin).label),
                        QString::fromLatin1(*pin)};
    }
    return out;
}
} // namespace

QList<Line> fromControls(const ParameterControls &controls, bool secrets)
{
    Values v;
    v.text = [&controls](ParamEdit id) { return std::optional<QByteArray>(controls.text(id)); };
    v.checked = [&controls](ParamCheck id) { return std::optional<bool>(controls.isChecked(id)); };
    return linesOf(v, secrets);
}

QList<Line> fromFileRecord(const ParameterFileRecord &record, bool secrets)
{
    Values v;
    v.text = [&record](ParamEdit id) -> std::optional<QByteArray> {
        for (const auto &f : ParameterFileRecord::kLeadingTexts)
            if (f.edit == id)
                return record.text(f.offset, f.capacity);
        for (const auto &f : ParameterFileRecord::kSpeedDials)
            if (f.edit == id)
                return record.text(f.offset, f.capacity);
        return std::nullopt;
    };
    // The Relay2 Override byte as its two nibble characters: 0, 1 or 2 for
    // the choice, 8 added for "Don't use timer".
    const QByteArray relay2 = NibbleCodec::DecodeNibbleByte(
        record.text(ParameterFileRecord::kRelay2Offset, ParameterFileRecord::kRelay2Capacity));
    bool relay2Known = false;
    const int mode = relay2.toInt(&relay2Known);
    v.checked = [&record, relay2Known, mode](ParamCheck id) -> std::optional<bool> {
        for (const auto &f : ParameterFileRecord::kFlags)
            if (f.check == id)
                return record.flag(f.offset);
        switch (id) {
        case C::RadioButton1: {
            bool scroll = false, pulse = false;
            for (const auto &f : ParameterFileRecord::kFlags) {
                scroll = scroll || (f.check == C::opt931 && record.flag(f.offset));
                pulse = pulse || (f.check == C::opt936 && record.flag(f.offset));
            }
            return !scroll && !pulse;
        }
        case C::rly2off: return relay2Known ? std::optional<bool>(mode % 8 == 0) : std::nullopt;
        case C::rly2key: return relay2Known ? std::optional<bool>(mode % 8 == 1) : std::nullopt;
        case C::rly2line: return relay2Known ? std::optional<bool>(mode % 8 == 2) : std::nullopt;
        case C::rly2tim: return relay2Known ? std::optional<bool>(mode >= 8) : std::nullopt;
        default: return std::nullopt;
        }
    };
    return linesOf(v, secrets);
}

Report build(const QList<Line> &lines, const Options &options)
{
    Report r;
    r.title = options.site.isEmpty() ? QStringLiteral("Parameters")
                                     : QStringLiteral("Parameters of %1").arg(options.site);
    if (!options.site.isEmpty())
        r.meta << QStringLiteral("Site: %1").arg(options.site);
    if (!options.from.isEmpty())
        r.meta << QStringLiteral("From %1").arg(options.from);
    if (!options.secrets)
        r.meta << QStringLiteral("Gate codes and the PIN are not printed.");
    r.columns = {QStringLiteral("Group"), QStringLiteral("Setting"), QStringLiteral("Value")};
    r.tableFontPt = 10;
    r.rowCount = lines.size();
    r.rows = [lines](qint64 first, int count) {
        QList<QStringList> out;
        for (qint64 i = first; i < qMin<qint64>(lines.size(), first + count); ++i) {
            const Line &l = lines.at(i);
            // The group is named on its first line, and again at the top of a page.
            const bool firstOfGroup = i == first || lines.at(i - 1).group != l.group;
            out << QStringList{firstOfGroup ? l.group : QString(), l.setting, l.value};
        }
        return out;
    };
    return r;
}

} // namespace ParameterSheet
