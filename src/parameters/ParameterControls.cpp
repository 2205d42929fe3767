#include "parameters/ParameterControls.h"

#include "directory/PhoneDirectory.h"

#include "parameters/OptionInterlocks.h"
#include "parameters/ParameterControlInfo.h"

#include <QList>

ParameterControls::ParameterControls(PhoneDirectory *directory, QObject *parent)
    : QObject(parent)
    , directory_(directory)
{
    for (int i = 0; i < ParamEditCount; ++i)
        texts_[i] = ParameterControlInfo::edit(ParamEdit(i)).defaultText;
    for (int i = 0; i < ParamCheckCount; ++i) {
        const ParamCheckInfo &info = ParameterControlInfo::check(ParamCheck(i));
        checked_[i] = info.defaultChecked;
        enabled_[i] = info.defaultEnabled;
    }
    // A phone list just opened takes the code-column colouring of the
    // current global-code option.
    if (directory_)
        connect(directory_, &PhoneDirectory::phoneListOpened, this, [this] { RefreshCodeHighlights(); });
}

QByteArray ParameterControls::text(ParamEdit edit) const
{
    return texts_[int(edit)];
}

void ParameterControls::setText(ParamEdit edit, const QByteArray &text)
{
    const qsizetype nul = text.indexOf('\0');
    const QByteArray shown = nul < 0 ? text : text.left(nul);
    QByteArray &current = texts_[int(edit)];
    if (current == shown)
        return;
    current = shown;
    emit textChanged(edit, shown);
}

bool ParameterControls::isChecked(ParamCheck check) const
{
    return checked_[int(check)];
}

void ParameterControls::setChecked(ParamCheck check, bool on)
{
    if (checked_[int(check)] == on)
        return;
    const ParamCheckInfo &info = ParameterControlInfo::check(check);
    checked_[int(check)] = on;

    QList<ParamCheck> turnedOff;
    if (info.radio && on) {
        int count = 0;
        const ParamCheck *members = ParameterControlInfo::choiceMembers(info.choice, &count);
        for (int i = 0; i < count; ++i) {
            if (members[i] != check && checked_[int(members[i])]) {
                checked_[int(members[i])] = false;
                turnedOff << members[i];
            }
        }
    }

    emit checkedChanged(check, on);
    for (ParamCheck off : turnedOff)
        emit checkedChanged(off, false);

    if ((info.radio && on) || check == ParamCheck::GlobalCode)
        OptionInterlocks::runClickRule(*this, check);
}

void ParameterControls::click(ParamCheck check)
{
    if (ParameterControlInfo::check(check).radio)
        setChecked(check, true);
    else
        setChecked(check, !isChecked(check));
}

bool ParameterControls::isEnabled(ParamCheck check) const
{
    return enabled_[int(check)];
}

void ParameterControls::setEnabled(ParamCheck check, bool enabled)
{
    if (enabled_[int(check)] == enabled)
        return;
    enabled_[int(check)] = enabled;
    emit enabledChanged(check, enabled);
}

bool ParameterControls::isDimmed(ParamEdit edit) const
{
    return dimmed_[int(edit)];
}

void ParameterControls::setDimmed(ParamEdit edit, bool dimmed)
{
    if (dimmed_[int(edit)] == dimmed)
        return;
    dimmed_[int(edit)] = dimmed;
    emit dimmedChanged(edit, dimmed);
}

bool ParameterControls::isNoteShown(ParamNote note) const
{
    return notes_[int(note)];
}

void ParameterControls::setNoteShown(ParamNote note, bool shown)
{
    if (notes_[int(note)] == shown)
        return;
    notes_[int(note)] = shown;
    emit noteShownChanged(note, shown);
}

void ParameterControls::setOnline(bool online)
{
    if (online_ != online) {
        online_ = online;
        emit onlineChanged(online);
    }
    OptionInterlocks::PhParamChange(*this);
}

void ParameterControls::setCurrentTab(ParamTab tab)
{
    if (tab_ != tab) {
        tab_ = tab;
        emit currentTabChanged(tab);
    }
    OptionInterlocks::PhParamChange(*this);
}

void ParameterControls::setSaveParamEnabled(bool enabled)
{
    if (saveParamEnabled_ == enabled)
        return;
    saveParamEnabled_ = enabled;
    emit saveParamEnabledChanged(enabled);
}

void ParameterControls::RefreshCodeHighlights()
{
    OptionInterlocks::RefreshCodeHighlights(*this);
}
