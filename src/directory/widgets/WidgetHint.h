#pragma once

#include <QString>

class QWidget;

// A control's hint is "short part|long part": the short part is the tooltip
// (the long part when there is no short one), the long part goes to the
// status bar while the mouse rests on the control and is its accessible
// description.
namespace WidgetHint {
void apply(QWidget *widget, const QString &hint);
} // namespace WidgetHint
