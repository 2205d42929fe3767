#include "backup/BackupName.h"

#include <QRegularExpression>

namespace {
const QString kDateFormat = QStringLiteral("yyyy-MM-dd_HHmmss");

const QRegularExpression &namePattern()
{
    static const QRegularExpression pattern(QStringLiteral(
        "^(\\d{4}-\\d{2}-\\d{2}_\\d{6})_(?:([A-Za-z0-9](?:[A-Za-z0-9-]*[A-Za-z0-9])?)_)?([A-Za-z0-9]+)_(directory|parameters|tags)(?:-([1-9]\\d{0,5}))?\\.([A-Za-z0-9]+)$"));
    return pattern;
}
} // namespace

QString BackupName::stem() const
{
    QString text = when.toString(kDateFormat) + QLatin1Char('_');
    if (!site.isEmpty())
        text += site + QLatin1Char('_');
    text += model + QLatin1Char('_') + BackupKinds::word(kind);
    if (serial > 1)
        text += QLatin1Char('-') + QString::number(serial);
    return text;
}

QString BackupName::fileName() const
{
    return stem() + QLatin1Char('.') + suffix;
}

std::optional<BackupName> BackupName::parse(const QString &fileName)
{
    const QRegularExpressionMatch m = namePattern().match(fileName);
    if (!m.hasMatch())
        return std::nullopt;
    BackupName name;
    name.when = QDateTime::fromString(m.captured(1), kDateFormat);
    if (!name.when.isValid())
        return std::nullopt;
    name.site = m.captured(2);
    name.model = m.captured(3);
    const QString kind = m.captured(4);
    for (BackupKind k : {BackupKind::Directory, BackupKind::Parameters, BackupKind::Tags})
        if (BackupKinds::word(k) == kind)
            name.kind = k;
    name.serial = m.captured(5).isEmpty() ? 1 : m.captured(5).toInt();
    name.suffix = m.captured(6);
    return name;
}

QString BackupName::modelToken(qint32 directoryEnd)
{
    switch (directoryEnd) {
    case 0x1D00: return QStringLiteral("Xarn100");
    case 0x2A00: return QStringLiteral("Xarn200");
    case 0x5100: return QStringLiteral("Xarn500");
    case 0x9000: return QStringLiteral("Xarn1000");
    }
    return QStringLiteral("XarnUnknown");
}

QString BackupName::siteToken(const QString &siteName)
{
    if (siteName.trimmed().isEmpty())
        return {};
    QString token;
    for (const QChar c : siteName) {
        const bool kept = c.unicode() < 0x80 && c.isLetterOrNumber();
        if (kept)
            token += c;
        else if (!token.isEmpty() && !token.endsWith(QLatin1Char('-')))
            token += QLatin1Char('-');
        if (token.size() >= kMaxSiteToken)
            break;
    }
    token.truncate(kMaxSiteToken);
    while (token.endsWith(QLatin1Char('-')))
        token.chop(1);
    return token.isEmpty() ? QStringLiteral("site") : token;
}
