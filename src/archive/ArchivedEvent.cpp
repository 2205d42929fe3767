#include "archive/ArchivedEvent.h"

#include <QTime>

QString ArchivedEvent::dateText() const
{
    return fullDate ? fullDate->toString(Qt::ISODate) : QString::fromLatin1(date);
}

QString ArchivedEvent::timeText() const
{
    return second ? QTime::fromMSecsSinceStartOfDay(*second * 1000).toString(QStringLiteral("HH:mm:ss"))
                  : QString::fromLatin1(time);
}

QByteArray ArchivedEvent::clientText() const
{
    QByteArray text = client;
    while (text.endsWith(' '))
        text.chop(1);
    return text;
}
