#pragma once

#include <QString>

class QAction;

// A hint is "short part|long part": the short part is the tooltip, the long
// part goes to the status bar and is the accessible description. A hint
// without a bar is both.
namespace ActionHint {
// Sets tooltip and status tip from a hint.
void apply(QAction *action, const QString &hint);
QString shortPart(const QString &hint);
QString longPart(const QString &hint);
} // namespace ActionHint
