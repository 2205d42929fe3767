#include "link/SerialDeviceList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace {
QString readAttribute(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(file.read(256)).trimmed();
}
} // namespace

SerialDeviceList::SerialDeviceList() = default;

SerialDeviceList::SerialDeviceList(Sources sources)
    : sources_(std::move(sources))
{
}

// A tty with a device behind it is a serial port (virtual consoles and
// pseudo-terminals have none). The UART driver's fixed slots (ttyS0 to
// ttyS31) all have one; an empty slot says so by its port type 0.
bool SerialDeviceList::isSerialPort(const QString &name) const
{
    const QDir tty(QDir(sources_.ttyClass).filePath(name));
    if (!QFileInfo(tty.filePath(QStringLiteral("device"))).exists())
        return false;
    return readAttribute(tty.filePath(QStringLiteral("type"))) != QLatin1String("0");
}

// A USB adapter's maker, product and serial number sit on the USB device,
// a few folders up from the tty's interface.
void SerialDeviceList::describeUsb(const QString &name, SerialDevice &device) const
{
    QDir dir(QFileInfo(QDir(sources_.ttyClass).filePath(name + QStringLiteral("/device"))).canonicalFilePath());
    for (int up = 0; up < 4 && !dir.isRoot() && !dir.path().isEmpty(); ++up) {
        if (QFileInfo::exists(dir.filePath(QStringLiteral("idVendor")))) {
            device.description = readAttribute(dir.filePath(QStringLiteral("product")));
            device.manufacturer = readAttribute(dir.filePath(QStringLiteral("manufacturer")));
            device.serialNumber = readAttribute(dir.filePath(QStringLiteral("serial")));
            return;
        }
        if (!dir.cdUp())
            return;
    }
}

SerialDevices SerialDeviceList::scan() const
{
    const ByIdNames byId(sources_.byIdFolder);
    SerialDevices devices;
    QStringList nodes;
    const QStringList names =
        QDir(sources_.ttyClass).entryList(QDir::Dirs | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : names) {
        if (!isSerialPort(name))
            continue;
        SerialDevice d;
        d.node = QDir(sources_.devFolder).filePath(name);
        if (!QFileInfo::exists(d.node))
            continue;
        d.byId = byId.nameOf(d.node);
        describeUsb(name, d);
        d.noPermission = DeviceAccess::permissionProblem(d.node);
        devices << d;
        nodes << d.node;
    }
    const QHash<QString, QString> held = DeviceAccess(sources_.access).holders(nodes);
    for (SerialDevice &d : devices)
        d.busy = held.value(d.node);
    return devices;
}

QString SerialDeviceList::toText(const SerialDevice &d)
{
    QStringList parts{d.node};
    if (!d.byId.isEmpty())
        parts << QStringLiteral("by-id %1").arg(d.byId);
    for (const QString &field : {d.description, d.manufacturer})
        if (!field.isEmpty())
            parts << field;
    if (!d.serialNumber.isEmpty())
        parts << QStringLiteral("serial number %1").arg(d.serialNumber);
    if (!d.noPermission.isEmpty())
        parts << d.noPermission;
    if (!d.busy.isEmpty())
        parts << d.busy;
    return parts.join(QStringLiteral("; "));
}
