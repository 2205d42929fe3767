#pragma once

#include "link/DeviceMap.h"

#include <QString>
#include <QStringList>

// The program's options: --com1=DEVICE to --com4=DEVICE point a port at a
// device or a serial server (over the CORVALEN_COMn environment variables),
// --user-folder works in the user's Corvalen-Pro folder (UserFolder), --help
// prints the usage and --version the version. Anything else is an error with
// a message that says what to use.
struct CommandLine
{
    DeviceMap devices;
    bool help = false;
    bool version = false;
    bool userFolder = false;
    QString error; // empty when the options were good

    // args without the program name; devices as the environment set them.
    static CommandLine parse(QStringList args, const DeviceMap &devices);
    static QString usage();
};
