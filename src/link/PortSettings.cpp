#include "link/PortSettings.h"

#include "link/PortAddress.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {
QString key(int n)
{
    return QStringLiteral("Ports/COM%1").arg(n);
}
} // namespace

PortSettings::PortSettings(QString fileName)
    : fileName_(std::move(fileName))
{
}

QString PortSettings::defaultFileName()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("Corvalen-Pro/corvalen-pro.conf"));
}

QString PortSettings::device(int n) const
{
    if (n < 1 || n > 4 || !QFileInfo::exists(fileName_))
        return {};
    const QSettings settings(fileName_, QSettings::IniFormat);
    const QString text = settings.value(key(n)).toString();
    const std::optional<PortAddress> address = PortAddress::parse(text);
    if (!address || address->kind() == PortAddress::Kind::PortName)
        return {};
    return text.trimmed();
}

bool PortSettings::setDevice(int n, const QString &device, QString *error)
{
    if (n < 1 || n > 4)
        return false;
    const QFileInfo info(fileName_);
    if (!QDir().mkpath(info.absolutePath())) {
        if (error)
            *error = QStringLiteral("Cannot create the folder %1").arg(info.absolutePath());
        return false;
    }
    QSettings settings(fileName_, QSettings::IniFormat);
    settings.setValue(key(n), device);
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        if (error)
            *error = QStringLiteral("Cannot write the settings file %1").arg(fileName_);
        return false;
    }
    return true;
}

void PortSettings::applyTo(DeviceMap &devices) const
{
    for (int n = 1; n <= 4; ++n) {
        const QString remembered = device(n);
        if (!remembered.isEmpty() && !devices.pinned(n))
            devices.setDevice(n, remembered, DeviceMap::Source::Remembered);
    }
}

DeviceMap PortSettings::startDevices(const QProcessEnvironment &environment) const
{
    DeviceMap devices = DeviceMap::fromEnvironment(environment);
    applyTo(devices);
    return devices;
}
