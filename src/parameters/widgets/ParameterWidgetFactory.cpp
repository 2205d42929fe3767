#include "parameters/widgets/ParameterWidgetFactory.h"

#include "parameters/ParameterControlInfo.h"
#include "parameters/ParameterPageInfo.h"
#include "parameters/widgets/ParameterBinder.h"
#include "parameters/widgets/ParameterLineEdit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

namespace {

using namespace ParameterPageInfo;

const ButtonInfo &buttonInfo(const char *objectName)
{
    for (const ButtonInfo &info : kButtons)
        if (qstrcmp(info.objectName, objectName) == 0)
            return info;
    Q_UNREACHABLE();
}

void describe(QWidget *widget, const char *hint)
{
    if (!hint)
        return;
    widget->setToolTip(QString::fromLatin1(hint));
    widget->setAccessibleDescription(QString::fromLatin1(hint));
}

// Wide enough for what the program may show there: a decoded "255" in a
// two-character edit, "ERROR" in a four-character code edit. The
// fixed-pitch message edits are exactly as wide as their LCD line.
int editWidth(const QWidget *edit, const ParamEditInfo &info)
{
    const int chars = info.maxLength > 4 ? info.maxLength : std::max(info.maxLength + 1, 3);
    return edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * chars + 14;
}

// Where a Read or Write button acts, for its accessible name: the caption
// of its tab or group. Empty for captions that are unique on the page.
QString placeOf(const ButtonInfo &info)
{
    const bool shared = qstrcmp(info.caption, "Read") == 0 || qstrcmp(info.caption, "Write") == 0;
    if (!shared)
        return {};
    if (info.place == ButtonPlace::Messages)
        return QString::fromLatin1(kMessagesGroupCaption);
    return QString::fromLatin1(kTabs[int(info.tab)].caption);
}

} // namespace

ParameterWidgetFactory::ParameterWidgetFactory(ParameterBinder &binder, RunHandler run)
    : binder_(binder)
    , run_(std::move(run))
{
}

ParameterLineEdit *ParameterWidgetFactory::edit(ParamEdit id, QWidget *parent)
{
    const ParamEditInfo &info = ParameterControlInfo::edit(id);
    auto *edit = new ParameterLineEdit(info.maxLength, parent);
    edit->setObjectName(QString::fromLatin1(info.objectName));
    if (info.fixedPitch) {
        QFont font(QString::fromLatin1(ParameterControlInfo::kFixedPitchFamily));
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
        edit->setFont(font);
    }
    describe(edit, info.hint ? info.hint : info.labelHint);
    edit->setFixedWidth(editWidth(edit, info));
    edit->setVisible(info.initiallyVisible);
    binder_.bindEdit(id, edit);
    return edit;
}

QLabel *ParameterWidgetFactory::label(ParamEdit id, QWidget *buddy, QWidget *parent)
{
    const ParamEditInfo &info = ParameterControlInfo::edit(id);
    auto *label = new QLabel(QString::fromLatin1(info.label), parent);
    if (info.labelName)
        label->setObjectName(QString::fromLatin1(info.labelName));
    if (info.labelHint)
        label->setToolTip(QString::fromLatin1(info.labelHint));
    label->setBuddy(buddy);
    label->setVisible(info.initiallyVisible);
    return label;
}

void ParameterWidgetFactory::addEditRow(QGridLayout *grid, int row, int column, ParamEdit id, QWidget *parent)
{
    ParameterLineEdit *field = edit(id, parent);
    grid->addWidget(label(id, field, parent), row, column);
    grid->addWidget(field, row, column + 1);
}

QAbstractButton *ParameterWidgetFactory::check(ParamCheck id, QWidget *parent)
{
    const ParamCheckInfo &info = ParameterControlInfo::check(id);
    const QString caption = QString::fromLatin1(info.caption);
    QAbstractButton *button;
    if (info.radio) {
        // The binder puts it into its choice's exclusive group.
        button = new QRadioButton(caption, parent);
    } else {
        button = new QCheckBox(caption, parent);
    }
    button->setObjectName(QString::fromLatin1(info.objectName));
    describe(button, info.hint);
    button->setVisible(info.visible);
    binder_.bindCheck(id, button);
    return button;
}

QLabel *ParameterWidgetFactory::note(ParamNote id, QWidget *parent)
{
    const NoteInfo &info = kNotes[int(id)];
    auto *note = new QLabel(QString::fromLatin1(info.caption), parent);
    note->setObjectName(QString::fromLatin1(info.objectName));
    describe(note, info.hint);
    binder_.bindNote(id, note);
    return note;
}

QPushButton *ParameterWidgetFactory::button(const char *objectName, QWidget *parent)
{
    const ButtonInfo &info = buttonInfo(objectName);
    auto *button = new QPushButton(QString::fromLatin1(info.caption), parent);
    button->setObjectName(QString::fromLatin1(info.objectName));
    button->setAutoDefault(false);
    describe(button, info.hint);
    // "Read" and "Write" recur on every tab: a reader hears where they act.
    const QString place = placeOf(info);
    if (!place.isEmpty())
        button->setAccessibleName(QString::fromLatin1(info.caption) + QLatin1Char(' ') + place);
    button->setVisible(info.visible);
    if (qstrcmp(objectName, "SaveParam") == 0)
        binder_.bindSaveParam(button);
    else
        binder_.bindOnlineButton(button);
    const char *handler = info.handler;
    RunHandler run = run_;
    QObject::connect(button, &QPushButton::clicked, button, [run, handler] { run(handler); });
    return button;
}

QBoxLayout *ParameterWidgetFactory::buttonRow(std::initializer_list<const char *> names, QWidget *parent)
{
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    for (const char *name : names)
        row->addWidget(button(name, parent));
    return row;
}
