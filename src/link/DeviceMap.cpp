#include "link/DeviceMap.h"

#include "link/PortAddress.h"

#include <QStringList>

DeviceMap::DeviceMap()
{
    for (int n = 1; n <= 4; ++n)
        devices_[n - 1] = defaultDevice(n);
}

QString DeviceMap::defaultDevice(int n)
{
    switch (n) {
    case 1: return QStringLiteral("/dev/ttyUSB0");
    case 2: return QStringLiteral("/dev/ttyUSB1");
    case 3: return QStringLiteral("/dev/ttyS0");
    case 4: return QStringLiteral("/dev/ttyS1");
    }
    return {};
}

DeviceMap DeviceMap::fromEnvironment()
{
    return fromEnvironment(QProcessEnvironment::systemEnvironment());
}

DeviceMap DeviceMap::fromEnvironment(const QProcessEnvironment &environment)
{
    DeviceMap map;
    for (int n = 1; n <= 4; ++n) {
        const QString value = environment.value(QStringLiteral("CORVALEN_COM%1").arg(n));
        if (!value.isEmpty())
            map.setDevice(n, value, Source::Environment);
    }
    return map;
}

QString DeviceMap::device(int n) const
{
    if (n < 1 || n > 4)
        return {};
    return devices_[n - 1];
}

void DeviceMap::setDevice(int n, const QString &path, Source source)
{
    if (n >= 1 && n <= 4) {
        devices_[n - 1] = path;
        sources_[n - 1] = source;
    }
}

DeviceMap::Source DeviceMap::source(int n) const
{
    return n >= 1 && n <= 4 ? sources_[n - 1] : Source::Default;
}

bool DeviceMap::pinned(int n) const
{
    return source(n) >= Source::Environment;
}

QString DeviceMap::deviceForPortName(const QString &portName) const
{
    const QString upper = portName.toUpper();
    if (upper.size() == 4 && upper.startsWith(QLatin1String("COM"))) {
        const int n = upper.at(3).digitValue();
        if (n >= 1 && n <= 4)
            return device(n);
    }
    return portName;
}

bool DeviceMap::applyArguments(QStringList &args, QString *error)
{
    for (int i = 0; i < args.size();) {
        const QString &arg = args.at(i);
        if (arg.startsWith(QLatin1String("--com")) && arg.size() > 6 && arg.at(6) == QLatin1Char('=')) {
            const int n = arg.at(5).digitValue();
            const QString path = arg.mid(7);
            if (n < 1 || n > 4) {
                if (error)
                    *error = QStringLiteral("Unknown option %1: use --com1=DEVICE to --com4=DEVICE").arg(arg);
                return false;
            }
            QString why;
            const std::optional<PortAddress> address = PortAddress::parse(path, &why);
            if (address && address->kind() == PortAddress::Kind::PortName)
                why = QStringLiteral("\"%1\" is a port, not a device").arg(path);
            if (!address || address->kind() == PortAddress::Kind::PortName) {
                if (error)
                    *error = QStringLiteral("--com%1: %2").arg(n).arg(why);
                return false;
            }
            setDevice(n, path, Source::CommandLine);
            args.removeAt(i);
            continue;
        }
        ++i;
    }
    return true;
}

QString DeviceMap::missingDeviceAdvice() const
{
    if (!missingDeviceAdvice_.isEmpty())
        return missingDeviceAdvice_;
    return QStringLiteral("Choose another port in Connect, Port, or point this one at your adapter "
                          "(see README: serial device).");
}
