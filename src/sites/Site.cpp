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

namespace {
// The form the book writes, "2024-05-02T02:00:04Z", read without the
// general parser (a book of a thousand sites holds thousands of them).
bool canonicalTime(const QString &text, QDateTime *utc)
{
    static const char kForm[] = "dddd-dd-ddTdd:dd:ddZ";
    if (text.size() != 20)
        return false;
    int digits[14];
    int n = 0;
    for (int i = 0; i < 20; ++i) {
        const char16_t c = text.at(i).unicode();
        if (kForm[i] == 'd') {
            if (c < u'0' || c > u'9')
                return false;
            digits[n++] = c - u'0';
        } else if (c != char16_t(kForm[i])) {
            return false;
        }
    }
    const auto number = [&](int from, int count) {
        int value = 0;
        for (int i = from; i < from + count; ++i)
            value = value * 10 + digits[i];
        return value;
    };
    const QDate date(number(0, 4), number(4, 2), number(6, 2));
    const QTime time(number(8, 2), number(10, 2), number(12, 2));
    if (!date.isValid() || !time.isValid())
        return false;
    *utc = QDateTime(date, time, QTimeZone::utc());
    return true;
}
} // namespace

bool timeFromText(const QString &input, QDateTime *utc)
{
    QString text = input.trimmed();
    if (text.isEmpty()) {
        *utc = QDateTime();
        return true;
    }
    if (canonicalTime(text, utc))
        return true;
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
