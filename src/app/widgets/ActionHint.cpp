#include "app/widgets/ActionHint.h"

#include <QAction>

namespace ActionHint {

QString shortPart(const QString &hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.left(bar);
}

QString longPart(const QString &hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

void apply(QAction *action, const QString &hint)
{
    const QString tip = shortPart(hint);
    action->setToolTip(tip.isEmpty() ? longPart(hint) : tip);
    action->setStatusTip(longPart(hint));
}

} // namespace ActionHint
