#pragma once

#include "parameters/ParameterControlIds.h"

#include <functional>
#include <initializer_list>

class ParameterBinder;
class ParameterLineEdit;
class QAbstractButton;
class QBoxLayout;
class QGridLayout;
class QLabel;
class QPushButton;
class QWidget;
struct ParamEditInfo;

// Makes the parameter page's widgets from the control tables: object names,
// captions, hints (as tooltip and accessible description), labels as the
// edits' buddies, typing limits, the fixed-pitch font, initial visibility,
// and binds each one to the model through the binder. Buttons run their
// handler by name.
class ParameterWidgetFactory
{
public:
    using RunHandler = std::function<void(const char *handler)>;

    ParameterWidgetFactory(ParameterBinder &binder, RunHandler run);

    ParameterLineEdit *edit(ParamEdit id, QWidget *parent);
    QLabel *label(ParamEdit id, QWidget *buddy, QWidget *parent);
    // A label and its edit side by side in a grid, at (row, column) and
    // (row, column + 1).
    void addEditRow(QGridLayout *grid, int row, int column, ParamEdit id, QWidget *parent);
    QAbstractButton *check(ParamCheck id, QWidget *parent);
    QLabel *note(ParamNote id, QWidget *parent);
    // One of the page's buttons, by object name.
    QPushButton *button(const char *objectName, QWidget *parent);
    // Buttons at the right end of a row.
    QBoxLayout *buttonRow(std::initializer_list<const char *> names, QWidget *parent);

private:
    ParameterBinder &binder_;
    RunHandler run_;
};
