#pragma once

#include "parameters/ParameterControlIds.h"

#include <QList>
#include <QObject>
#include <array>

class ParameterControls;
class ParameterLineEdit;
class QAbstractButton;
class QButtonGroup;
class QTabWidget;
class QWidget;

// Keeps the parameter page's widgets and the ParameterControls model in
// step, both ways. Typing and clicking go to the model, which runs the
// option rules; whatever the model then changes (texts, check marks,
// enabled boxes, olive dimming, notes, the tab, the online state) comes back
// to the widgets. The model is the one source of truth: a radio button shows
// exactly the model's mark, so a choice can show no button checked.
//
// The radio buttons of a choice sit in one exclusive button group, so that
// they behave and reach assistive technology as radio buttons (arrow keys
// move through the choice). When the model leaves a choice without a checked
// button, the group lets go of its exclusiveness for that one change.
class ParameterBinder : public QObject
{
    Q_OBJECT
public:
    explicit ParameterBinder(ParameterControls &model, QObject *parent = nullptr);

    void bindEdit(ParamEdit id, ParameterLineEdit *edit);
    // A check box or a radio button; a radio button joins its choice's group.
    void bindCheck(ParamCheck id, QAbstractButton *button);
    void bindNote(ParamNote id, QWidget *note);
    // The PhParam tabs, by index; the "Set PIN" tab is enabled while online.
    void bindTabs(QTabWidget *tabs);
    // A button enabled while online.
    void bindOnlineButton(QWidget *button);
    // The Messages "Write" button, enabled by PhParamChange.
    void bindSaveParam(QWidget *button);

    ParameterLineEdit *edit(ParamEdit id) const { return edits_[int(id)]; }
    QAbstractButton *check(ParamCheck id) const { return checks_[int(id)]; }

private:
    void showText(ParamEdit id);
    void showCheck(ParamCheck id);
    void showOnline(bool online);

    ParameterControls &model_;
    std::array<ParameterLineEdit *, ParamEditCount> edits_{};
    std::array<QAbstractButton *, ParamCheckCount> checks_{};
    // One exclusive group for each choice, by ParamChoice.
    std::array<QButtonGroup *, int(ParamChoice::Relay2Override) + 1> choiceGroups_{};
    std::array<QWidget *, ParamNoteCount> notes_{};
    QTabWidget *tabs_ = nullptr;
    QList<QWidget *> onlineButtons_;
    QWidget *saveParam_ = nullptr;
};
