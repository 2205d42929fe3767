#include "link/DiagnosticsReport.h"

#include "link/PortAddress.h"
#include "link/SerialDeviceList.h"

#include <QStringList>

namespace {
QString sourceText(DeviceMap::Source source, int n)
{
    switch (source) {
    case DeviceMap::Source::Default: return QStringLiteral("default");
    case DeviceMap::Source::Remembered: return QStringLiteral("chosen in the Device dialog");
    case DeviceMap::Source::Environment: return QStringLiteral("CORVALEN_COM%1").arg(n);
    case DeviceMap::Source::CommandLine: return QStringLiteral("--com%1=").arg(n);
    }
    return {};
}
} // namespace

QString DiagnosticsReport::lineSettings()
{
    return QStringLiteral("57600 baud, 8 data bits, no parity, 1 stop bit, no flow control, DTR and RTS on");
}

QByteArray DiagnosticsReport::compose() const
{
    QStringList out;
    out << QStringLiteral("Corvalen-Pro diagnostics")
        << QStringLiteral("Version: %1").arg(version)
        << QStringLiteral("Written: %1").arg(written.toString(Qt::ISODateWithMs));
    const std::optional<PortAddress> port = PortAddress::parse(portName);
    const int n = port ? port->portNumber() : 0;
    out << QStringLiteral("Port: %1").arg(portName)
        << QStringLiteral("Device: %1").arg(n ? devices.device(n) : QStringLiteral("(none)"))
        << QStringLiteral("Line: %1").arg(lineSettings()) << QString() << QStringLiteral("Ports:");
    for (int i = 1; i <= 4; ++i)
        out << QStringLiteral("  COM%1 %2 (%3)").arg(i).arg(devices.device(i), sourceText(devices.source(i), i));
    out << QStringLiteral("Settings file: %1").arg(settingsFile) << QString()
        << QStringLiteral("Serial devices present: %1").arg(present.size());
    for (const SerialDevice &device : present)
        out << QStringLiteral("  ") + SerialDeviceList::toText(device);
    out << QString();
    if (journalFile.isEmpty())
        out << QStringLiteral("Traffic journal: none in this session (the port was not opened)");
    else
        out << QStringLiteral("Traffic journal: %1").arg(journalFile);
    if (!journalError.isEmpty())
        out << QStringLiteral("Journal stopped: %1").arg(journalError);
    out << QStringLiteral("----");
    return out.join(QLatin1Char('\n')).toUtf8() + '\n' + journal;
}
