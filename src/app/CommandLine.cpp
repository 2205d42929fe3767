#include "app/CommandLine.h"

CommandLine CommandLine::parse(QStringList args, const DeviceMap &devices)
{
    CommandLine line;
    line.devices = devices;
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        line.help = true;
        return line;
    }
    if (args.contains(QStringLiteral("--version"))) {
        line.version = true;
        return line;
    }
    line.userFolder = args.removeAll(QStringLiteral("--user-folder")) > 0;
    if (!line.devices.applyArguments(args, &line.error))
        return line;
    // Options with one dash are Qt's own (-platform offscreen, -style
    // fusion); QApplication takes them.
    static const QStringList qtWithValue = {
        QStringLiteral("-platform"), QStringLiteral("-platformpluginpath"), QStringLiteral("-platformtheme"),
        QStringLiteral("-plugin"), QStringLiteral("-style"), QStringLiteral("-stylesheet"),
        QStringLiteral("-display"), QStringLiteral("-geometry"), QStringLiteral("-qwindowgeometry"),
        QStringLiteral("-qwindowtitle"), QStringLiteral("-qwindowicon"), QStringLiteral("-session"),
        QStringLiteral("-name"), QStringLiteral("-title"), QStringLiteral("-font"), QStringLiteral("-fn")};
    for (qsizetype i = 0; i < args.size();) {
        const QString &arg = args.at(i);
        if (!arg.startsWith(QLatin1Char('-')) || arg.startsWith(QLatin1String("--"))) {
            ++i;
            continue;
        }
        const qsizetype taken = qtWithValue.contains(arg.section(QLatin1Char('='), 0, 0)) && !arg.contains(QLatin1Char('='))
                                    ? 2
                                    : 1;
        args.remove(i, qMin(taken, args.size() - i));
    }
    if (!args.isEmpty())
        line.error = QStringLiteral("Unknown option %1: use --com1=DEVICE to --com4=DEVICE, --user-folder, or --help")
                         .arg(args.first());
    return line;
}

QString CommandLine::usage()
{
    QString text = QStringLiteral(
        "Usage: corvalen-pro [--com1=DEVICE] [--com2=DEVICE] [--com3=DEVICE] [--com4=DEVICE] [--user-folder]\n"
        "\n"
        "Programs a Corvalen Xarn door-entry panel over a serial cable.\n"
        "The Connect, Port menu chooses Comm1 to Comm4; each names a device:\n");
    const DeviceMap defaults;
    for (int n = 1; n <= 4; ++n)
        text += QStringLiteral("  --com%1=DEVICE   device of Comm%1 (default %2, or $CORVALEN_COM%1)\n")
                    .arg(n)
                    .arg(defaults.device(n));
    text += QStringLiteral(
        "  --user-folder    work in the folder Corvalen-Pro of your documents folder, made\n"
        "                   if missing, instead of the folder the program was started in;\n"
        "                   the phone list file and the log-on details file are kept in\n"
        "                   the working folder (the desktop menu starts it so)\n"
        "  --version        show the version\n"
        "  --help           show this text\n"
        "\n"
        "A DEVICE is a serial device (/dev/ttyUSB0), a serial server in raw mode\n"
        "(tcp://HOST:PORT) or a Telnet COM Port Control server (rfc2217://HOST:PORT);\n"
        "an IPv6 address goes in brackets (tcp://[fe80::1]:4001). The line to a serial\n"
        "server is not encrypted and the PIN crosses it in clear: over an untrusted\n"
        "network, reach the server through an SSH tunnel (see the README).\n");
    return text;
}
