#include "archive/EventFilter.h"

namespace EventKinds {

EventKind ofRoom(const QByteArray &roomText)
{
    if (roomText == "InCall")
        return EventKind::InCall;
    if (roomText.startsWith("Butt."))
        return EventKind::Button;
    if (roomText == "error")
        return EventKind::Error;
    return EventKind::Room;
}

QString name(EventKind kind)
{
    switch (kind) {
    case EventKind::Room: return QStringLiteral("room");
    case EventKind::InCall: return QStringLiteral("InCall");
    case EventKind::Button: return QStringLiteral("Butt.");
    case EventKind::Error: return QStringLiteral("error");
    }
    return {};
}

std::optional<EventKind> parse(const QString &text)
{
    const QString t = text.trimmed().toLower();
    if (t == u"room")
        return EventKind::Room;
    if (t == u"incall")
        return EventKind::InCall;
    if (t == u"butt." || t == u"butt" || t == u"button")
        return EventKind::Button;
    if (t == u"error")
        return EventKind::Error;
    return std::nullopt;
}

} // namespace EventKinds

namespace EventSources {

EventSource ofText(const QByteArray &sourceText)
{
    if (sourceText == "local")
        return EventSource::Local;
    if (sourceText == "Remote")
        return EventSource::Remote;
    if (sourceText == "RF-ID")
        return EventSource::RfId;
    return EventSource::Error;
}

QString name(EventSource source)
{
    switch (source) {
    case EventSource::Local: return QStringLiteral("local");
    case EventSource::Remote: return QStringLiteral("Remote");
    case EventSource::RfId: return QStringLiteral("RF-ID");
    case EventSource::Error: return QStringLiteral("Error");
    }
    return {};
}

std::optional<EventSource> parse(const QString &text)
{
    const QString t = text.trimmed().toLower();
    if (t == u"local")
        return EventSource::Local;
    if (t == u"remote")
        return EventSource::Remote;
    if (t == u"rf-id" || t == u"rfid")
        return EventSource::RfId;
    if (t == u"error")
        return EventSource::Error;
    return std::nullopt;
}

} // namespace EventSources

bool EventFilter::isEmpty() const
{
    return !from && !to && !kind && text.isEmpty() && !source && relay.isEmpty();
}

QStringList EventFilter::describe() const
{
    QStringList lines;
    if (from && to)
        lines << QStringLiteral("From %1 to %2").arg(from->toString(Qt::ISODate), to->toString(Qt::ISODate));
    else if (from)
        lines << QStringLiteral("From %1").arg(from->toString(Qt::ISODate));
    else if (to)
        lines << QStringLiteral("Up to %1").arg(to->toString(Qt::ISODate));
    else
        lines << QStringLiteral("All dates");
    if (kind)
        lines << QStringLiteral("Kind: %1").arg(EventKinds::name(*kind));
    if (!text.isEmpty())
        lines << QStringLiteral("Room or client contains: %1").arg(text);
    if (source)
        lines << QStringLiteral("Source: %1").arg(EventSources::name(*source));
    if (!relay.isEmpty())
        lines << QStringLiteral("Relay: %1").arg(QString::fromLatin1(relay));
    return lines;
}
