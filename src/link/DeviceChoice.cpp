#include "link/DeviceChoice.h"

#include "link/PortAddress.h"

DeviceChoice::DeviceChoice(DeviceMap &devices, PortSettings settings, QObject *parent)
    : QObject(parent)
    , devices_(devices)
    , settings_(std::move(settings))
{
}

std::optional<QString> DeviceChoice::check(const QString &text, QString *error)
{
    QString why;
    const std::optional<PortAddress> address = PortAddress::parse(text, &why);
    if (address && address->kind() == PortAddress::Kind::PortName)
        why = QStringLiteral("\"%1\" is a port, not a device: name a device such as /dev/ttyUSB0, "
                             "tcp://HOST:PORT or rfc2217://HOST:PORT")
                  .arg(address->toString());
    else if (address && address->kind() == PortAddress::Kind::Device && !address->devicePath().startsWith(QLatin1Char('/')))
        why = QStringLiteral("\"%1\": write the whole path of the device, as in /dev/%1").arg(address->devicePath());
    else if (address)
        return address->toString();
    if (error)
        *error = why;
    return std::nullopt;
}

DeviceChoice::Result DeviceChoice::choose(int n, const QString &text, QString *message)
{
    QString why;
    const std::optional<QString> device = check(text, &why);
    if (!device || n < 1 || n > 4) {
        if (message)
            *message = device ? QStringLiteral("No port chosen") : why;
        return Result::Refused;
    }
    QString fileError;
    const bool remembered = settings_.setDevice(n, *device, &fileError);
    if (devices_.pinned(n)) {
        const QString override = devices_.source(n) == DeviceMap::Source::CommandLine
                                     ? QStringLiteral("--com%1=").arg(n)
                                     : QStringLiteral("CORVALEN_COM%1").arg(n);
        if (message)
            *message = remembered ? QStringLiteral("COM%1 keeps %2 for this run, as %3 says; %4 is remembered "
                                                   "for the next start.")
                                        .arg(n)
                                        .arg(devices_.device(n), override, *device)
                                  : QStringLiteral("COM%1 keeps %2 for this run, as %3 says, and %4 could not "
                                                   "be remembered: %5.")
                                        .arg(n)
                                        .arg(devices_.device(n), override, *device, fileError);
        return remembered ? Result::RememberedOnly : Result::Refused;
    }
    devices_.setDevice(n, *device, DeviceMap::Source::Remembered);
    emit deviceChanged(n);
    if (message)
        *message = remembered ? QStringLiteral("COM%1 now stands for %2, from the next log-on.").arg(n).arg(*device)
                              : QStringLiteral("COM%1 stands for %2 from the next log-on, for this run only: %3.")
                                    .arg(n)
                                    .arg(*device, fileError);
    return remembered ? Result::Taken : Result::NotRemembered;
}
