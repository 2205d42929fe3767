#include "link/ByIdNames.h"

#include <QDir>
#include <QFileInfo>

ByIdNames::ByIdNames(const QString &folder)
{
    const QDir dir(folder);
    const QFileInfoList links = dir.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &link : links) {
        if (!link.isSymLink())
            continue;
        const QString node = link.canonicalFilePath(); // empty for a dangling link
        // Two names for one node (the same adapter seen twice) keep the first
        // in name order, so the choice does not flicker between refreshes.
        if (!node.isEmpty() && !byNode_.contains(node))
            byNode_.insert(node, link.absoluteFilePath());
    }
}

QString ByIdNames::nameOf(const QString &node) const
{
    const QString canonical = QFileInfo(node).canonicalFilePath();
    return canonical.isEmpty() ? QString() : byNode_.value(canonical);
}
