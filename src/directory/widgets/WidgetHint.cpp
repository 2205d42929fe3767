#include "directory/widgets/WidgetHint.h"

#include <QWidget>

namespace WidgetHint {

void apply(QWidget *widget, const QString &hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    const QString shortPart = bar < 0 ? hint : hint.left(bar);
    const QString longPart = bar < 0 ? hint : hint.mid(bar + 1);
    widget->setToolTip(shortPart.isEmpty() ? longPart : shortPart);
    widget->setStatusTip(longPart);
    widget->setAccessibleDescription(longPart);
}

} // namespace WidgetHint
