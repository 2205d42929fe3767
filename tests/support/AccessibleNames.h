#pragma once

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QStringList>
#include <QWidget>

#include <algorithm>
#include <string>

// A list of findings as one line, for GoogleTest's messages:
// EXPECT_EQ(listed(sameNamedControls(page)), "").
inline std::string listed(const QStringList &items)
{
    return items.join(QStringLiteral("; ")).toStdString();
}

// The visible controls under a widget (buttons, edits, grids; a grid's
// titles are read as part of the grid) that an assistive technology would
// find without a name.
inline QStringList unnamedControls(QWidget &root)
{
    QStringList unnamed;
    for (QWidget *control : root.findChildren<QWidget *>()) {
        if (!control->isVisible() || control->objectName().startsWith(QLatin1String("qt_")))
            continue;
        const bool interactive = qobject_cast<QAbstractButton *>(control) || qobject_cast<QLineEdit *>(control)
                                 || (qobject_cast<QAbstractItemView *>(control) && !qobject_cast<QHeaderView *>(control));
        if (!interactive)
            continue;
        QAccessibleInterface *item = QAccessible::queryAccessibleInterface(control);
        if (!item || item->text(QAccessible::Name).isEmpty())
            unnamed << control->objectName() + QLatin1Char(' ') + QLatin1String(control->metaObject()->className());
    }
    return unnamed;
}

// What an assistive technology gets from a widget through Qt's accessibility
// interface: its name, description or value, and its role.
inline QString accessibleText(QWidget *widget, QAccessible::Text which)
{
    QAccessibleInterface *item = QAccessible::queryAccessibleInterface(widget);
    return item ? item->text(which) : QString();
}

inline QAccessible::Role accessibleRole(QWidget *widget)
{
    QAccessibleInterface *item = QAccessible::queryAccessibleInterface(widget);
    return item ? item->role() : QAccessible::NoRole;
}

// The visible interactive controls under root that assistive technology
// reads by the same name as another one of their group (the nearest titled
// group box, or root): a user who hears the name cannot tell which it is.
// Each as "name: objectName, objectName".
inline QStringList sameNamedControls(QWidget &root)
{
    QMap<QPair<QWidget *, QString>, QStringList> seen;
    for (QWidget *control : root.findChildren<QWidget *>()) {
        if (!control->isVisible() || control->objectName().startsWith(QLatin1String("qt_")))
            continue;
        if (!qobject_cast<QAbstractButton *>(control) && !qobject_cast<QLineEdit *>(control)
            && !(qobject_cast<QAbstractItemView *>(control) && !qobject_cast<QHeaderView *>(control)))
            continue;
        QWidget *group = &root;
        for (QWidget *up = control->parentWidget(); up && up != &root; up = up->parentWidget()) {
            auto *box = qobject_cast<QGroupBox *>(up);
            if (box && !box->title().isEmpty()) {
                group = box;
                break;
            }
        }
        const QString name = accessibleText(control, QAccessible::Name);
        if (!name.isEmpty())
            seen[{group, name}] << control->objectName();
    }
    QStringList shared;
    for (auto it = seen.cbegin(); it != seen.cend(); ++it)
        if (it.value().size() > 1)
            shared << it.key().second + QStringLiteral(": ") + it.value().join(QStringLiteral(", "));
    return shared;
}

// A label's text as a user sees it: without its shortcut mark and its
// closing colon.
inline QString shownLabelText(const QLabel *label)
{
    QString shown = label->text();
    shown.remove(QLatin1Char('&'));
    while (shown.endsWith(QLatin1Char(':')) || shown.endsWith(QLatin1Char(' ')))
        shown.chop(1);
    return shown.trimmed();
}

// Whether a control's name, as assistive technology reads it, holds the
// visible text of its label: what a user sees (or says, with voice control)
// is what is read out.
inline bool namedByLabel(QWidget *control, const QLabel *label)
{
    return accessibleText(control, QAccessible::Name).contains(shownLabelText(label), Qt::CaseInsensitive);
}

// The visible line edits under root that a label names (they are its
// buddy) but whose name, as assistive technology reads it, does not hold
// the label's visible text. Each as "objectName: read name / label text".
inline QStringList editsNotNamedByTheirLabel(QWidget &root)
{
    QStringList wrong;
    const QList<QLabel *> labels = root.findChildren<QLabel *>();
    for (QLineEdit *edit : root.findChildren<QLineEdit *>()) {
        if (!edit->isVisible())
            continue;
        for (QLabel *label : labels)
            if (label->buddy() == edit && label->isVisible() && !namedByLabel(edit, label))
                wrong << edit->objectName() + QStringLiteral(": ") + accessibleText(edit, QAccessible::Name)
                             + QStringLiteral(" / ") + label->text();
    }
    return wrong;
}

// The visible line edits under root that no label names (none has them
// as its buddy).
inline QStringList editsWithoutLabel(QWidget &root)
{
    QStringList unlabelled;
    const QList<QLabel *> labels = root.findChildren<QLabel *>();
    for (QLineEdit *edit : root.findChildren<QLineEdit *>()) {
        if (!edit->isVisible() || edit->objectName().startsWith(QLatin1String("qt_")))
            continue;
        if (std::none_of(labels.begin(), labels.end(), [edit](QLabel *l) { return l->buddy() == edit; }))
            unlabelled << edit->objectName();
    }
    return unlabelled;
}
