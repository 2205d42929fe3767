#include "cli/PinSource.h"

#include "cli/CliConsole.h"

#include <QFile>
#include <sys/stat.h>

namespace {
const QString kNoTerminal = QStringLiteral(
    "No PIN: set CORVALEN_PIN, use --pin-file FILE, or run on a terminal to be asked for it");
}

PinSource::PinSource(const QProcessEnvironment &environment, CliConsole &console)
    : environment_(environment)
    , console_(console)
{
}

QString PinSource::checkPin(const QByteArray &pin)
{
    if (pin.isEmpty())
        return QStringLiteral("The PIN is empty");
    if (pin.size() > kMaxPinLength)
        return QStringLiteral("The PIN is longer than %1 characters").arg(kMaxPinLength);
    for (char c : pin)
        if (c == '\r' || c == '\n' || c == '\0' || c == '\xFF')
            return QStringLiteral("The PIN holds a character the Corvalen cannot take");
    return {};
}

PinSource::Result PinSource::checked(const QByteArray &pin, const QString &from)
{
    const QString problem = checkPin(pin);
    if (!problem.isEmpty())
        return {std::nullopt, problem + QStringLiteral(" (") + from + QLatin1Char(')')};
    return {pin, {}};
}

PinSource::Result PinSource::readPinFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, QStringLiteral("Cannot open file %1").arg(path)};
    // The mode of the file actually opened, not of whatever the name points
    // to by the time it is looked at.
    struct stat st{};
    if (fstat(file.handle(), &st) != 0 || !S_ISREG(st.st_mode))
        return {std::nullopt, QStringLiteral("The PIN file %1 is not a plain file").arg(path)};
    if ((st.st_mode & (S_IRGRP | S_IROTH | S_IWGRP | S_IWOTH)) != 0)
        return {std::nullopt, QStringLiteral("The PIN file %1 can be read or changed by others than its owner; "
                                             "make it private first: chmod 600 %1")
                                  .arg(path)};
    QByteArray line = file.read(PinSource::kMaxPinLength + 3);
    const qsizetype end = line.indexOf('\n');
    if (end >= 0)
        line.truncate(end);
    if (line.endsWith('\r'))
        line.chop(1);
    const QString problem = checkPin(line);
    if (!problem.isEmpty())
        return {std::nullopt, problem + QStringLiteral(" (in %1)").arg(path)};
    return {line, {}};
}

PinSource::Result PinSource::logOnPin(const QString &pinFile)
{
    if (!pinFile.isEmpty())
        return readPinFile(pinFile);
    if (environment_.contains(QStringLiteral("CORVALEN_PIN")))
        return checked(environment_.value(QStringLiteral("CORVALEN_PIN")).toLocal8Bit(), QStringLiteral("CORVALEN_PIN"));
    const std::optional<QByteArray> typed = console_.readSecret(QStringLiteral("PIN: "));
    if (!typed)
        return {std::nullopt, kNoTerminal};
    return checked(*typed, QStringLiteral("as typed"));
}

PinSource::Result PinSource::newPin()
{
    if (environment_.contains(QStringLiteral("CORVALEN_NEW_PIN")))
        return checked(environment_.value(QStringLiteral("CORVALEN_NEW_PIN")).toLocal8Bit(),
                       QStringLiteral("CORVALEN_NEW_PIN"));
    const std::optional<QByteArray> first = console_.readSecret(QStringLiteral("New PIN: "));
    if (!first)
        return {std::nullopt, QStringLiteral("No new PIN: set CORVALEN_NEW_PIN, or run on a terminal to be asked for it")};
    Result result = checked(*first, QStringLiteral("as typed"));
    if (!result.pin)
        return result;
    const std::optional<QByteArray> again = console_.readSecret(QStringLiteral("New PIN again: "));
    if (!again || *again != *first)
        return {std::nullopt, QStringLiteral("The two new PINs differ; the PIN was not changed")};
    return result;
}
