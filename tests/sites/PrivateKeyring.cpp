#include "PrivateKeyring.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QTimer>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>
#include <QUuid>

namespace {
const char kPassword[] = "test keyring password";
const QString kSecrets = QStringLiteral("org.freedesktop.secrets");

// Answers every call late, with an error.
class SlowService : public QDBusVirtualObject
{
public:
    explicit SlowService(int replyAfterMs)
        : replyAfterMs_(replyAfterMs)
    {
    }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        QTimer::singleShot(replyAfterMs_, this, [message, connection] {
            connection.send(message.createErrorReply(QDBusError::Failed, QStringLiteral("too late")));
        });
        return true;
    }
    QString introspect(const QString &) const override { return {}; }

private:
    int replyAfterMs_;
};

void stop(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}
} // namespace

PrivateKeyring::PrivateKeyring()
    : connectionName_(QStringLiteral("private-keyring-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    for (const char *sub : {"home", "run", "data", "config"})
        QDir().mkpath(dir_.filePath(QLatin1String(sub)));
    QFile::setPermissions(dir_.filePath(QStringLiteral("run")), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

PrivateKeyring::~PrivateKeyring()
{
    if (slowService_) {
        QDBusConnection bus(connectionName_);
        bus.unregisterService(kSecrets);
        bus.unregisterObject(QStringLiteral("/"), QDBusConnection::UnregisterTree);
    }
    QDBusConnection::disconnectFromBus(connectionName_);
    stop(keyring_);
    stop(bus_);
}

QStringList PrivateKeyring::missingPrograms()
{
    QStringList missing;
    for (const char *program : {"dbus-daemon", "gnome-keyring-daemon"})
        if (QStandardPaths::findExecutable(QLatin1String(program)).isEmpty())
            missing << QLatin1String(program);
    return missing;
}

QProcessEnvironment PrivateKeyring::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), dir_.filePath(QStringLiteral("home")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir_.filePath(QStringLiteral("run")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dir_.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir_.filePath(QStringLiteral("config")));
    // No desktop to guess a keyring from, and no display to start a bus on.
    for (const char *name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID",
                             "DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS"})
        environment.remove(QLatin1String(name));
    if (!address_.isEmpty())
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address_);
    return environment;
}

bool PrivateKeyring::startBus(QString *error)
{
    // The usual session configuration without its service folders, so that
    // nothing (such as a keyring) is started on demand.
    const QString config = dir_.filePath(QStringLiteral("bus.conf"));
    QFile file(config);
    const QByteArray text = QStringLiteral(
        "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
        " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
        "<busconfig><type>session</type><listen>unix:tmpdir=%1</listen><auth>EXTERNAL</auth>\n"
        "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
        "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n")
                                .arg(dir_.path())
                                .toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
        *error = QStringLiteral("cannot write %1").arg(config);
        return false;
    }
    file.close();
    bus_.setProcessEnvironment(environment());
    bus_.start(QStringLiteral("dbus-daemon"),
               {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    QByteArray line;
    QElapsedTimer waited;
    waited.start();
    while (!line.contains('\n') && waited.elapsed() < 10000 && bus_.waitForReadyRead(1000))
        line += bus_.readAllStandardOutput();
    address_ = QString::fromUtf8(line).trimmed();
    if (address_.isEmpty()) {
        *error = QStringLiteral("dbus-daemon gave no address: %1").arg(QString::fromLocal8Bit(bus_.readAllStandardError()));
        return false;
    }
    return QDBusConnection::connectToBus(address_, connectionName_).isConnected()
           || (*error = QStringLiteral("cannot connect to the private bus"), false);
}

bool PrivateKeyring::waitForService(bool present, QString *error)
{
    QDBusConnection bus(connectionName_);
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 10000) {
        if (bus.interface()->isServiceRegistered(kSecrets).value() == present)
            return true;
        QThread::msleep(20);
    }
    *error = QStringLiteral("the keyring did not %1 the bus (%2): %3")
                 .arg(present ? QStringLiteral("appear on") : QStringLiteral("leave"),
                      keyring_.state() == QProcess::Running ? QStringLiteral("running")
                                                            : QStringLiteral("exit code %1").arg(keyring_.exitCode()),
                      QString::fromLocal8Bit(keyring_.readAllStandardError() + keyring_.readAllStandardOutput()));
    return false;
}

bool PrivateKeyring::startKeyring(bool unlocked, QString *error)
{
    QStringList arguments{QStringLiteral("--foreground"), QStringLiteral("--components=secrets")};
    if (unlocked)
        arguments << QStringLiteral("--unlock");
    keyring_.setProcessEnvironment(environment());
    keyring_.start(QStringLiteral("gnome-keyring-daemon"), arguments);
    if (!keyring_.waitForStarted(5000)) {
        *error = QStringLiteral("gnome-keyring-daemon did not start");
        return false;
    }
    // The password, then the end of its input (QProcess hands bytes over
    // only while it is waited on).
    if (unlocked) {
        keyring_.write(kPassword);
        keyring_.waitForBytesWritten(5000);
    }
    keyring_.closeWriteChannel();
    return waitForService(true, error);
}

void PrivateKeyring::stopKeyring()
{
    stop(keyring_);
    QString ignored;
    waitForService(false, &ignored);
}

bool PrivateKeyring::startSlowService(int replyAfterMs, QString *error)
{
    QDBusConnection bus(connectionName_);
    auto *service = new SlowService(replyAfterMs);
    slowService_.reset(service);
    if (!bus.registerVirtualObject(QStringLiteral("/"), service, QDBusConnection::SubPath)
        || !bus.registerService(kSecrets)) {
        *error = QStringLiteral("cannot serve %1: %2").arg(kSecrets, bus.lastError().message());
        return false;
    }
    return true;
}

bool PrivateKeyring::lock(QString *error)
{
    QDBusConnection bus(connectionName_);
    QDBusMessage alias = QDBusMessage::createMethodCall(kSecrets, QStringLiteral("/org/freedesktop/secrets"),
                                                        QStringLiteral("org.freedesktop.Secret.Service"),
                                                        QStringLiteral("ReadAlias"));
    alias << QStringLiteral("default");
    const QDBusMessage path = bus.call(alias, QDBus::Block, 5000);
    if (path.type() != QDBusMessage::ReplyMessage) {
        *error = path.errorMessage();
        return false;
    }
    QDBusMessage lock = QDBusMessage::createMethodCall(kSecrets, QStringLiteral("/org/freedesktop/secrets"),
                                                       QStringLiteral("org.freedesktop.Secret.Service"),
                                                       QStringLiteral("Lock"));
    lock << QVariant::fromValue(QList<QDBusObjectPath>{path.arguments().first().value<QDBusObjectPath>()});
    const QDBusMessage reply = bus.call(lock, QDBus::Block, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        *error = reply.errorMessage();
        return false;
    }
    return true;
}

int PrivateKeyring::itemCount(const QMap<QString, QString> &attributes, QString *error)
{
    qDBusRegisterMetaType<QMap<QString, QString>>();
    QDBusConnection bus(connectionName_);
    QDBusMessage search = QDBusMessage::createMethodCall(kSecrets, QStringLiteral("/org/freedesktop/secrets"),
                                                         QStringLiteral("org.freedesktop.Secret.Service"),
                                                         QStringLiteral("SearchItems"));
    search << QVariant::fromValue(attributes);
    const QDBusMessage reply = bus.call(search, QDBus::Block, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 2) {
        *error = reply.errorMessage();
        return -1;
    }
    int count = 0;
    for (const QVariant &found : reply.arguments())
        count += int(qdbus_cast<QList<QDBusObjectPath>>(found.value<QDBusArgument>()).size());
    return count;
}

QStringList PrivateKeyring::filesOutsideKeyring() const
{
    QStringList files;
    QDirIterator it(dir_.path(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    const QDir root(dir_.path());
    while (it.hasNext()) {
        const QString relative = root.relativeFilePath(it.next());
        if (relative == QLatin1String("bus.conf") || relative.startsWith(QLatin1String("dbus-"))
            || relative.startsWith(QLatin1String("data/keyrings/")) || relative.startsWith(QLatin1String("run/keyring")))
            continue;
        files << relative;
    }
    return files;
}
