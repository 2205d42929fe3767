#include "sites/Site.h"

#include <QDir>
#include <QRegularExpression>
#include <QTimeZone>

QString Site::pinFilePath() const
{
    if (!pinFile.isEmpty())
        return pinFile;
    return QDir(folder).filePath(QLatin1String(kDefaultPinFileName));
}

namespace SiteText {

QString pinKeepingWord(Site::PinKeeping keeping)
{
    switch (keeping) {
    case Site::PinKeeping::Keyring:
        return QStringLiteral("keyring");
    case Site::PinKeeping::PinFile:
        return QStringLiteral("file");
    case Site::PinKeeping::NotRemembered:
        break;
    }
    return QStringLiteral("none");
}

bool pinKeepingFromWord(const QString &word, Site::PinKeeping *keeping)
{
    for (Site::PinKeeping k : {Site::PinKeeping::Keyring, Site::PinKeeping::PinFile, Site::PinKeeping::NotRemembered}) {
        if (word.compare(pinKeepingWord(k), Qt::CaseInsensitive) == 0) {
            *keeping = k;
            return true;
        }
    }
    return false;
}

QString backupResultWord(Site::BackupResult result)
{
    switch (result) {
    case Site::BackupResult::Ok:
        return QStringLiteral("ok");
    case Site::BackupResult::Failed:
        return QStringLiteral("failed");
    case Site::BackupResult::None:
        break;
    }
    return {};
}

bool backupResultFromWord(const QString &word, Site::BackupResult *result)
{
    for (Site::BackupResult r : {Site::BackupResult::None, Site::BackupResult::Ok, Site::BackupResult::Failed}) {
        if (word.trimmed().compare(backupResultWord(r), Qt::CaseInsensitive) == 0) {
            *result = r;
            return true;
        }
    }
    return false;
}

QString timeText(const QDateTime &utc)
{
    if (!utc.isValid())
        return {};
    return utc.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) + QLatin1Char('Z');
}

bool timeFromText(const QString &input, QDateTime *utc)
{
    QString text = input.trimmed();
    if (text.isEmpty()) {
        *utc = QDateTime();
        return true;
    }
    // A spreadsheet's "2024-05-02 02:00:04" is ISO 8601 with a blank for "T".
    static const QRegularExpression form(
        QStringLiteral("^\\d{4}-\\d{2}-\\d{2}[T ]\\d{2}:\\d{2}(:\\d{2}(\\.\\d+)?)?(Z|[+-]\\d{2}:?\\d{2})?$"));
    if (!form.match(text).hasMatch())
        return false;
    text[10] = QLatin1Char('T');
    QDateTime when = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!when.isValid())
        return false;
    if (when.timeSpec() == Qt::LocalTime) // no zone given: the book's times are UTC
        when.setTimeZone(QTimeZone::utc());
    *utc = when.toUTC();
    return true;
}

QString shownTime(const QDateTime &utc)
{
    if (!utc.isValid())
        return {};
    return utc.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString cleanName(const QString &name)
{
    QString out = name;
    for (QChar &c : out)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    return out.simplified();
}

QString nameKey(const QString &name)
{
    return cleanName(name).toCaseFolded();
}

} // namespace SiteText
