#include "cli/ConsoleDevice.h"

#include "cli/CliConsole.h"

ConsoleDevice::ConsoleDevice(CliConsole &console)
    : console_(console)
{
    open(QIODevice::WriteOnly);
}

qint64 ConsoleDevice::writeData(const char *data, qint64 size)
{
    console_.out(QByteArray(data, size));
    return size;
}
