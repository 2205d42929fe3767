#pragma once

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QHeaderView>
#include <QLineEdit>
#include <QStringList>
#include <QWidget>

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
