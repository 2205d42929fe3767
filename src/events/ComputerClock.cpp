#include "events/ComputerClock.h"

ComputerClock::ComputerClock(Now now, QLocale locale)
    : now_(std::move(now))
    , locale_(std::move(locale))
{
    if (!now_)
        now_ = &QDateTime::currentDateTime;
}

QString ComputerClock::withoutTimeZone(const QString &format)
{
    QString out;
    bool quoted = false;
    for (QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        out.append(c);
    }
    return out.simplified();
}

QString ComputerClock::longTime(const QDateTime &at) const
{
    return locale_.toString(at.time(), withoutTimeZone(locale_.timeFormat(QLocale::LongFormat)));
}

QString ComputerClock::shortDate(const QDateTime &at) const
{
    return locale_.toString(at.date(), QLocale::ShortFormat);
}

QByteArray ComputerClock::setClockDigits(const QDateTime &at)
{
    return at.toString(QStringLiteral("ssmmHHddMMyy")).toLatin1();
}
