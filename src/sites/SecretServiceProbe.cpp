#include "sites/SecretServiceProbe.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>

namespace {
const QString kService = QStringLiteral("org.freedesktop.secrets");
const QString kServicePath = QStringLiteral("/org/freedesktop/secrets");
const QString kServiceInterface = QStringLiteral("org.freedesktop.Secret.Service");

QDBusMessage call(const QDBusConnection &bus, const QString &path, const QString &interface, const QString &method,
                  const QVariantList &arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(kService, path, interface, method);
    message.setArguments(arguments);
    return bus.call(message, QDBus::Block, SecretServiceProbe::kCallTimeoutMs);
}

bool serviceReachable(const QDBusConnection &bus)
{
    QDBusConnectionInterface *daemon = bus.interface();
    if (!daemon)
        return false;
    if (daemon->isServiceRegistered(kService).value())
        return true;
    const QDBusReply<QStringList> activatable = daemon->activatableServiceNames();
    return activatable.isValid() && activatable.value().contains(kService);
}

// The locked ones among the items with these attributes; false when the
// question could not be asked.
bool lockedItems(const QDBusConnection &bus, const QMap<QString, QString> &attributes, bool *locked)
{
    const QDBusMessage reply = call(bus, kServicePath, kServiceInterface, QStringLiteral("SearchItems"),
                                    {QVariant::fromValue(attributes)});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 2)
        return false;
    const QList<QDBusObjectPath> lockedPaths =
        qdbus_cast<QList<QDBusObjectPath>>(reply.arguments().at(1).value<QDBusArgument>());
    *locked = !lockedPaths.isEmpty();
    return true;
}

// Whether the default keyring is locked (or missing, which needs the same
// prompt to create it); false when the question could not be asked.
bool defaultLocked(const QDBusConnection &bus, bool *locked)
{
    const QDBusMessage alias =
        call(bus, kServicePath, kServiceInterface, QStringLiteral("ReadAlias"), {QStringLiteral("default")});
    if (alias.type() != QDBusMessage::ReplyMessage || alias.arguments().isEmpty())
        return false;
    const QString path = alias.arguments().first().value<QDBusObjectPath>().path();
    if (path.isEmpty() || path == QLatin1String("/")) {
        *locked = true;
        return true;
    }
    const QDBusMessage property =
        call(bus, path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
             {QStringLiteral("org.freedesktop.Secret.Collection"), QStringLiteral("Locked")});
    if (property.type() != QDBusMessage::ReplyMessage || property.arguments().isEmpty())
        return false;
    *locked = property.arguments().first().value<QDBusVariant>().variant().toBool();
    return true;
}
} // namespace

SecretServiceProbe::State SecretServiceProbe::state(const QMap<QString, QString> &attributes)
{
    qDBusRegisterMetaType<QMap<QString, QString>>();
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return State::NoSessionBus;
    if (!serviceReachable(bus))
        return State::NoService;
    bool locked = false;
    if (!attributes.isEmpty() && lockedItems(bus, attributes, &locked) && locked)
        return State::Locked;
    if (defaultLocked(bus, &locked) && locked)
        return State::Locked;
    return State::Available;
}

bool SecretServiceProbe::lockedItemsRemain(const QMap<QString, QString> &attributes)
{
    qDBusRegisterMetaType<QMap<QString, QString>>();
    const QDBusConnection bus = QDBusConnection::sessionBus();
    bool locked = false;
    return bus.isConnected() && lockedItems(bus, attributes, &locked) && locked;
}
