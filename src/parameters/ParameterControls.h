#pragma once

#include "parameters/ParameterControlIds.h"
#include "parameters/ParameterFileRecord.h"

#include <QByteArray>
#include <QObject>
#include <array>

class PhoneDirectory;

// The parameter page's controls as the code below the windows sees them: the
// text of every edit, the check mark of every check box and radio button, and
// what the option rules derive from them (enabled boxes, dimmed code edits,
// the notes of the RelayCodes tab, the Messages "Write" button). The page
// binds its widgets to it both ways through the change signals; the codecs,
// transfers and the parameter file read and set it. It also holds the page's
// one parameter file record.
//
// Check boxes and radio buttons behave as on the page: turning a radio button
// on turns the other buttons of its choice off, turning one off leaves the
// choice without a checked button. When a radio button is turned on, and
// when GlobalCode changes, its rule runs exactly as for a click.
//
// Signals are emitted only for real changes, after the model is consistent,
// so a widget that echoes a change back finds nothing left to do.
class ParameterControls : public QObject
{
    Q_OBJECT
public:
    // directory: the shared phone directory whose grid columns follow
    // GlobalCode (may be null).
    explicit ParameterControls(PhoneDirectory *directory = nullptr, QObject *parent = nullptr);

    // Edits. A text ends before its first NUL: what follows is not kept.
    QByteArray text(ParamEdit edit) const;
    void setText(ParamEdit edit, const QByteArray &text);

    bool isChecked(ParamCheck check) const;
    void setChecked(ParamCheck check, bool on);
    // A user's click: a check box toggles, a radio button is turned on.
    void click(ParamCheck check);

    // Derived presentation, set by the option rules. rly2tim starts
    // disabled; every other box starts enabled, no edit starts dimmed and
    // every note starts hidden.
    bool isEnabled(ParamCheck check) const;
    void setEnabled(ParamCheck check, bool enabled);
    bool isDimmed(ParamEdit edit) const;
    void setDimmed(ParamEdit edit, bool dimmed);
    bool isNoteShown(ParamNote note) const;
    void setNoteShown(ParamNote note, bool shown);

    // Logged on (the page's buttons and the "Set PIN" tab follow it).
    bool isOnline() const { return online_; }
    void setOnline(bool online);
    // The tab of PhParam showing; changing it runs PhParamChange.
    ParamTab currentTab() const { return tab_; }
    void setCurrentTab(ParamTab tab);
    // The Messages "Write" button (SaveParam).
    bool saveParamEnabled() const { return saveParamEnabled_; }
    void setSaveParamEnabled(bool enabled);

    PhoneDirectory *directory() const { return directory_; }
    // Dims the directory grid's code columns and the global code edits by
    // GlobalCode; also to be run after a phone list is opened.
    void RefreshCodeHighlights();

    ParameterFileRecord &fileRecord() { return fileRecord_; }
    const ParameterFileRecord &fileRecord() const { return fileRecord_; }

    // A read has left values worth saving: the window enables Save As.
    void offerSaveAs() { emit saveAsOffered(); }

signals:
    void textChanged(ParamEdit edit, const QByteArray &text);
    void checkedChanged(ParamCheck check, bool checked);
    void enabledChanged(ParamCheck check, bool enabled);
    void dimmedChanged(ParamEdit edit, bool dimmed);
    void noteShownChanged(ParamNote note, bool shown);
    void onlineChanged(bool online);
    void currentTabChanged(ParamTab tab);
    void saveParamEnabledChanged(bool enabled);
    void saveAsOffered();

private:
    PhoneDirectory *directory_;
    std::array<QByteArray, ParamEditCount> texts_;
    std::array<bool, ParamCheckCount> checked_{};
    std::array<bool, ParamCheckCount> enabled_{};
    std::array<bool, ParamEditCount> dimmed_{};
    std::array<bool, ParamNoteCount> notes_{};
    bool online_ = false;
    ParamTab tab_ = ParamTab::Phset;
    bool saveParamEnabled_ = false;
    ParameterFileRecord fileRecord_;
};
