#pragma once

#include <QIODevice>

class CliConsole;

// Standard output as a write-only device, so that a long export goes out
// as it is written instead of being held whole first.
class ConsoleDevice : public QIODevice
{
public:
    explicit ConsoleDevice(CliConsole &console);

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override;

private:
    CliConsole &console_;
};
