#include "link/PortAddress.h"

#include <QHostAddress>
#include <QRegularExpression>

namespace {

const QString kForms = QStringLiteral("a device such as /dev/ttyUSB0, tcp://HOST:PORT or rfc2217://HOST:PORT");

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

bool isHostName(const QString &host)
{
    static const QRegularExpression name(QStringLiteral("^[A-Za-z0-9_]([A-Za-z0-9_.-]*[A-Za-z0-9_.])?$"));
    return name.match(host).hasMatch();
}

// "HOST:PORT" or "[IPV6]:PORT" after the scheme.
bool readHostAndPort(const QString &text, const QString &rest, QString *host, quint16 *port, QString *error)
{
    QString portText;
    if (rest.startsWith(QLatin1Char('['))) {
        const qsizetype close = rest.indexOf(QLatin1Char(']'));
        if (close < 0)
            return fail(error, QStringLiteral("\"%1\": the closing bracket \"]\" is missing").arg(text));
        *host = rest.mid(1, close - 1);
        QHostAddress literal;
        if (!literal.setAddress(*host) || literal.protocol() != QAbstractSocket::IPv6Protocol)
            return fail(error, QStringLiteral("\"%1\": [%2] is not an IPv6 address").arg(text, *host));
        const QString after = rest.mid(close + 1);
        if (!after.startsWith(QLatin1Char(':')))
            return fail(error, QStringLiteral("\"%1\" has no port: add it after the host, as in %2:4001")
                                   .arg(text, text.left(text.size() - after.size())));
        portText = after.mid(1);
    } else {
        const qsizetype colon = rest.lastIndexOf(QLatin1Char(':'));
        if (colon < 0)
            return fail(error, QStringLiteral("\"%1\" has no port: add it after the host, as in %1:4001").arg(text));
        *host = rest.left(colon);
        if (host->contains(QLatin1Char(':')))
            return fail(error, QStringLiteral("\"%1\": write an IPv6 address in brackets, as in tcp://[::1]:4001")
                                   .arg(text));
        portText = rest.mid(colon + 1);
    }
    if (host->isEmpty())
        return fail(error, QStringLiteral("\"%1\" has no host: write it as HOST:PORT after the //").arg(text));
    if (!rest.startsWith(QLatin1Char('[')) && !isHostName(*host))
        return fail(error, QStringLiteral("\"%1\": \"%2\" is not a host name or address").arg(text, *host));
    if (portText.isEmpty())
        return fail(error, QStringLiteral("\"%1\" has no port: add it after the colon").arg(text));
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    if (!digits.match(portText).hasMatch())
        return fail(error, QStringLiteral("\"%1\": the port \"%2\" is not a number").arg(text, portText));
    bool ok = false;
    const uint value = portText.toUInt(&ok);
    if (!ok || value < 1 || value > 65535)
        return fail(error, QStringLiteral("\"%1\": the port %2 is out of range (1 to 65535)").arg(text, portText));
    *port = quint16(value);
    return true;
}

} // namespace

std::optional<PortAddress> PortAddress::parse(const QString &input, QString *error)
{
    const QString text = input.trimmed();
    PortAddress a;
    if (text.isEmpty()) {
        fail(error, QStringLiteral("No device given: name %1").arg(kForms));
        return std::nullopt;
    }

    static const QRegularExpression portName(QStringLiteral("^COM([0-9]+)$"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch m = portName.match(text); m.hasMatch()) {
        const int n = m.captured(1).toInt();
        if (n < 1 || n > 4) {
            fail(error, QStringLiteral("\"%1\": the ports are COM1 to COM4").arg(text));
            return std::nullopt;
        }
        a.kind_ = Kind::PortName;
        a.portNumber_ = n;
        a.text_ = QStringLiteral("COM%1").arg(n);
        return a;
    }

    static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*):(//)?"));
    const QRegularExpressionMatch m = scheme.match(text);
    const QString name = m.captured(1).toLower();
    const bool known = name == QLatin1String("tcp") || name == QLatin1String("rfc2217");
    const bool slashes = !m.captured(2).isEmpty();
    if (!m.hasMatch() || (!known && !slashes)) {
        a.kind_ = Kind::Device;
        a.text_ = text;
        return a;
    }
    if (!known) {
        fail(error,
             QStringLiteral("\"%1\": unknown kind of address \"%2://\"; use %3").arg(text, m.captured(1), kForms));
        return std::nullopt;
    }
    if (!slashes) {
        fail(error, QStringLiteral("\"%1\": write %2://HOST:PORT").arg(text, name));
        return std::nullopt;
    }
    a.kind_ = name == QLatin1String("tcp") ? Kind::Tcp : Kind::Rfc2217;
    if (!readHostAndPort(text, text.mid(m.capturedLength()), &a.host_, &a.tcpPort_, error))
        return std::nullopt;
    a.text_ = name + QStringLiteral("://") + a.hostAndPort();
    return a;
}

QString PortAddress::hostAndPort() const
{
    if (!isNetwork())
        return {};
    const QString host = host_.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(host_) : host_;
    return QStringLiteral("%1:%2").arg(host).arg(tcpPort_);
}

QString PortAddress::toString() const
{
    return text_;
}
