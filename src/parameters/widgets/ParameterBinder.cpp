#include "parameters/widgets/ParameterBinder.h"

#include "parameters/ParameterControlInfo.h"
#include "parameters/ParameterControls.h"
#include "parameters/widgets/ParameterLineEdit.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QTabWidget>

ParameterBinder::ParameterBinder(ParameterControls &model, QObject *parent)
    : QObject(parent)
    , model_(model)
{
    connect(&model_, &ParameterControls::textChanged, this, [this](ParamEdit id, const QByteArray &) { showText(id); });
    connect(&model_, &ParameterControls::checkedChanged, this, [this](ParamCheck id, bool) { showCheck(id); });
    connect(&model_, &ParameterControls::enabledChanged, this, [this](ParamCheck id, bool enabled) {
        if (QAbstractButton *button = checks_[int(id)])
            button->setEnabled(enabled);
    });
    connect(&model_, &ParameterControls::dimmedChanged, this, [this](ParamEdit id, bool dimmed) {
        if (ParameterLineEdit *edit = edits_[int(id)])
            edit->setDimmed(dimmed);
    });
    connect(&model_, &ParameterControls::noteShownChanged, this, [this](ParamNote id, bool shown) {
        if (QWidget *note = notes_[int(id)])
            note->setVisible(shown);
    });
    connect(&model_, &ParameterControls::currentTabChanged, this, [this](ParamTab tab) {
        if (tabs_)
            tabs_->setCurrentIndex(int(tab));
    });
    connect(&model_, &ParameterControls::onlineChanged, this, &ParameterBinder::showOnline);
    connect(&model_, &ParameterControls::saveParamEnabledChanged, this, [this](bool enabled) {
        if (saveParam_)
            saveParam_->setEnabled(enabled);
    });
}

void ParameterBinder::bindEdit(ParamEdit id, ParameterLineEdit *edit)
{
    edits_[int(id)] = edit;
    showText(id);
    edit->setDimmed(model_.isDimmed(id));
    // Every change of the edit's text goes to the model (typing, undo, a
    // clear); a text the model set itself comes back equal and changes
    // nothing.
    connect(edit, &QLineEdit::textChanged, this,
            [this, id](const QString &text) { model_.setText(id, text.toLatin1()); });
}

void ParameterBinder::bindCheck(ParamCheck id, QAbstractButton *button)
{
    checks_[int(id)] = button;
    const ParamCheckInfo &info = ParameterControlInfo::check(id);
    if (info.radio && info.choice != ParamChoice::None) {
        QButtonGroup *&group = choiceGroups_[int(info.choice)];
        if (!group)
            group = new QButtonGroup(this); // exclusive
        group->addButton(button);
    }
    showCheck(id);
    button->setEnabled(model_.isEnabled(id));
    // The button has already toggled itself when clicked is emitted; the
    // model decides (a radio button clicked again stays on) and the button
    // is then put back to the model's mark.
    connect(button, &QAbstractButton::clicked, this, [this, id] {
        model_.click(id);
        showCheck(id);
    });
}

void ParameterBinder::bindNote(ParamNote id, QWidget *note)
{
    notes_[int(id)] = note;
    note->setVisible(model_.isNoteShown(id));
}

void ParameterBinder::bindTabs(QTabWidget *tabs)
{
    tabs_ = tabs;
    tabs->setCurrentIndex(int(model_.currentTab()));
    tabs->setTabEnabled(int(ParamTab::TabSheet3), model_.isOnline());
    connect(tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0)
            model_.setCurrentTab(ParamTab(index));
    });
}

void ParameterBinder::bindOnlineButton(QWidget *button)
{
    onlineButtons_ << button;
    button->setEnabled(model_.isOnline());
}

void ParameterBinder::bindSaveParam(QWidget *button)
{
    saveParam_ = button;
    button->setEnabled(model_.saveParamEnabled());
}

void ParameterBinder::showText(ParamEdit id)
{
    if (ParameterLineEdit *edit = edits_[int(id)])
        edit->setBytes(model_.text(id));
}

void ParameterBinder::showCheck(ParamCheck id)
{
    QAbstractButton *button = checks_[int(id)];
    if (!button)
        return;
    const bool checked = model_.isChecked(id);
    QButtonGroup *group = button->group();
    // An exclusive group keeps its checked button checked; the model may
    // leave its choice without one.
    if (!checked && button->isChecked() && group && group->exclusive()) {
        group->setExclusive(false);
        button->setChecked(false);
        group->setExclusive(true);
        return;
    }
    button->setChecked(checked);
}

void ParameterBinder::showOnline(bool online)
{
    for (QWidget *button : onlineButtons_)
        button->setEnabled(online);
    if (tabs_)
        tabs_->setTabEnabled(int(ParamTab::TabSheet3), online);
}
