#pragma once

#include "cli/CliCommand.h"
#include "cli/CliRecordOptions.h"
#include "link/DeviceMap.h"

#include <QString>
#include <QStringList>

// The command line of corvalen-cli: options anywhere among the words.
//
//   corvalen-cli [OPTIONS] GROUP ACTION [FILE]
//
//   --port PORT       COM1 to COM4 (as the window maps them), a device path,
//                     tcp://HOST:PORT or rfc2217://HOST:PORT; COM2 by default
//   --site NAME       a site of the site book: its address, PIN and folder
//   --com1=DEVICE ... the window's port map, over CORVALEN_COM1 ...
//   --pin-file FILE   the PIN, from a file only its owner can read
//   --json            a one-object summary on standard output (on standard
//                     error when standard output carries a get's data)
//   --quiet           no progress
//   --strict          a put refuses a list it would not send as it stands
//   --allow-empty     rfid put may leave the RFID store empty
//   and the options of the records and printed lists (CliRecordOptions)
//   --help, --version
//
// A PIN is never an option: --pin is refused with the ways that are safe.
struct CliOptions
{
    const CliCommand *command = nullptr;
    QString group; // as typed, for the help of a group
    QString file;        // the first word after the command
    QStringList operands; // every word after the command (diff: both sides)
    CliRecordOptions records;
    QString port = QStringLiteral("COM2");
    QString pinFile;
    QString site; // empty: outside any site
    DeviceMap devices;
    bool json = false;
    bool quiet = false;
    bool strict = false;
    bool allowEmpty = false;
    bool help = false;
    bool version = false;
    QString error; // empty when the command line was good

    // args without the program name; devices as the environment set them.
    static CliOptions parse(QStringList args, const DeviceMap &devices);

    // The file is "-": a get writes standard output, a put reads standard input.
    bool fileIsStdio() const { return file == QLatin1String("-"); }
};
