#include "PanelOptions.h"

#include "PanelLines.h"
#include "PanelModelProfile.h"

#include <QCommandLineParser>
#include <QHostAddress>

namespace {
void addOptions(QCommandLineParser &p)
{
    p.setApplicationDescription(QStringLiteral(
        "A virtual Corvalen Xarn door-entry panel on a pseudo-terminal. It prints the device path on the first line\n"
        "of its output and the PIN on the second, then answers the panel's commands until stopped (Ctrl-C, or q).\n"
        "Point the program's COM2 at the device: corvalen-pro --com2=/dev/pts/N (or at the --link path).\n"
        "With --tcp it serves as a serial server in raw mode instead, and prints tcp://HOST:PORT first."));
    p.addOptions({
        {QStringLiteral("model"), QStringLiteral("Panel model: 100, 200, 500 or 1000 (default 1000)."), QStringLiteral("N")},
        {QStringLiteral("identity"), QStringLiteral("Announce this identity text instead of the model's own "
                                                    "(a wrong identity, for instance)."), QStringLiteral("TEXT")},
        {QStringLiteral("pin"), QStringLiteral("The panel's PIN (default 1234; a --memory file keeps its own "
                                               "unless --pin is given)."), QStringLiteral("PIN")},
        {QStringLiteral("demo"), QStringLiteral("Fill the panel with demo data (residents, codes, messages, tags, "
                                                "events), unless --memory loaded a file.")},
        {QStringLiteral("memory"), QStringLiteral("Load the panel's memory from FILE if it exists; save it there on "
                                                  "every change and on exit."), QStringLiteral("FILE")},
        {QStringLiteral("link"), QStringLiteral("Also make a symbolic link to the device at PATH (an older link there "
                                                "is replaced)."), QStringLiteral("PATH")},
        {QStringLiteral("tcp"), QStringLiteral("Serve on TCP port PORT (raw: bytes unchanged) instead of a "
                                               "pseudo-terminal, on 127.0.0.1 unless HOST is given (0.0.0.0: every "
                                               "interface; an IPv6 address in brackets). Port 0 takes a free port."),
         QStringLiteral("[HOST:]PORT")},
        {QStringLiteral("no-pacing"), QStringLiteral("Send replies at once instead of at the line rate.")},
        {QStringLiteral("baud"), QStringLiteral("Line rate for pacing (default 57600; 10 bits a byte)."), QStringLiteral("N")},
        {QStringLiteral("latency"), QStringLiteral("Wait MS milliseconds before every reply."), QStringLiteral("MS")},
        {QStringLiteral("chunks"), QStringLiteral("Cut replies into random chunks with short gaps.")},
        {QStringLiteral("nul"), QStringLiteral("Strew NUL bytes inside replies.")},
        {QStringLiteral("silent"), QStringLiteral("Answer nothing at all (a dead panel).")},
        {QStringLiteral("error-p"), QStringLiteral("Answer \"Error\" to the first N \"p\" commands."), QStringLiteral("N")},
        {QStringLiteral("error-g"), QStringLiteral("Answer \"Error\" to the first N \"g\" commands."), QStringLiteral("N")},
        {QStringLiteral("drop-ok"), QStringLiteral("Leave out the \"OK\" of the first reply after the log-on.")},
        {QStringLiteral("bad-readback"), QStringLiteral("Alter the next N \"r\" replies (a read-back that differs)."),
         QStringLiteral("N")},
        {QStringLiteral("stall-after"), QStringLiteral("Go silent after BYTES bytes of every reply that is longer."),
         QStringLiteral("BYTES")},
        {QStringLiteral("pause-after"), QStringLiteral("Pause after BYTES bytes of every reply that is longer, for "
                                                       "--pause-ms, then go on."),
         QStringLiteral("BYTES")},
        {QStringLiteral("pause-ms"), QStringLiteral("How long --pause-after pauses (default 2000)."), QStringLiteral("MS")},
        {QStringLiteral("junk"), QStringLiteral("Send a line of noise before every reply.")},
        {QStringLiteral("bare-ok"), QStringLiteral("Answer every command after the log-on with \"OK\" alone.")},
        {QStringLiteral("empty-replies"), QStringLiteral("Answer every command after the log-on with an empty "
                                                         "line, without \"OK\".")},
        {QStringLiteral("no-records"), QStringLiteral("Answer the reads of record ranges (\"d\", \"s\") with their "
                                                      "first line and \"OK\", without any record.")},
        {QStringLiteral("silent-after-erase"), QStringLiteral("Go silent once an erase (\"f5a\", \"c1418\") has "
                                                              "been answered.")},
        {QStringLiteral("max-events"), QStringLiteral("How many events the log keeps (default 1000); the oldest give "
                                                      "way."),
         QStringLiteral("N")},
        {QStringLiteral("add-events"), QStringLiteral("Log N more events of every kind at the start, after the log's "
                                                      "last event and up to now (also after --memory or --demo); the "
                                                      "oldest give way when the log is full."),
         QStringLiteral("N")},
        {QStringLiteral("tag"), QStringLiteral("Present this RFID tag (ten hexadecimal digits) at the reader after "
                                               "--tag-delay."), QStringLiteral("CODE")},
        {QStringLiteral("tag-delay"), QStringLiteral("Seconds before --tag is presented (default 5)."),
         QStringLiteral("S")},
        {QStringLiteral("seed"), QStringLiteral("Seed for the random faults (repeats a run)."), QStringLiteral("N")},
        {QStringLiteral("quiet"), QStringLiteral("Do not log the commands received.")},
        {QStringLiteral("no-keys"), QStringLiteral("Do not read keys from the terminal.")},
    });
    p.addHelpOption();
    p.addVersionOption();
}

// "4001", "0.0.0.0:4001", "[::1]:4001".
bool tcpAddress(const QString &text, PanelOptions &o, QString *error)
{
    QString host = o.tcpHost;
    QString port = text;
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0) {
        host = text.left(colon);
        port = text.mid(colon + 1);
        if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
            host = host.mid(1, host.size() - 2);
    }
    bool ok = false;
    const uint number = port.toUInt(&ok);
    if (!ok || number > 65535 || QHostAddress(host).isNull()) {
        *error = QStringLiteral("--tcp wants PORT or HOST:PORT with an IP address as HOST (0.0.0.0, [::1]), not \"%1\"")
                     .arg(text);
        return false;
    }
    o.tcp = true;
    o.tcpHost = host;
    o.tcpPort = quint16(number);
    return true;
}

bool count(const QCommandLineParser &p, const QString &name, int *out, QString *error)
{
    if (!p.isSet(name))
        return true;
    bool ok = false;
    const int value = p.value(name).toInt(&ok);
    if (!ok || value < 0) {
        *error = QStringLiteral("--%1 wants a whole number of 0 or more, not \"%2\"").arg(name, p.value(name));
        return false;
    }
    *out = value;
    return true;
}
} // namespace

std::optional<PanelOptions> PanelOptions::parse(const QStringList &args, QString *error)
{
    QCommandLineParser p;
    addOptions(p);
    if (!p.parse(args)) {
        *error = p.errorText();
        return std::nullopt;
    }
    if (!p.positionalArguments().isEmpty()) {
        *error = QStringLiteral("unexpected argument \"%1\"").arg(p.positionalArguments().first());
        return std::nullopt;
    }
    PanelOptions o;
    o.help = p.isSet(QStringLiteral("help"));
    o.version = p.isSet(QStringLiteral("version"));
    if (p.isSet(QStringLiteral("model"))) {
        o.model = p.value(QStringLiteral("model"));
        o.modelGiven = true;
        if (!PanelModelProfile::isModelName(o.model)) {
            *error = QStringLiteral("--model is one of %1, not \"%2\" (use --identity for another identity text)")
                         .arg(PanelModelProfile::modelNames().join(QStringLiteral(", ")), o.model);
            return std::nullopt;
        }
    }
    if (p.isSet(QStringLiteral("identity")))
        o.identity = p.value(QStringLiteral("identity")).toLatin1();
    if (p.isSet(QStringLiteral("pin"))) {
        o.pin = p.value(QStringLiteral("pin")).toLatin1();
        o.pinGiven = true;
        if (o.pin.size() > 16 || o.pin.contains('\r') || o.pin.contains('\n')) {
            *error = QStringLiteral("--pin takes at most 16 characters on one line");
            return std::nullopt;
        }
    }
    o.demo = p.isSet(QStringLiteral("demo"));
    o.memoryFile = p.value(QStringLiteral("memory"));
    o.link = p.value(QStringLiteral("link"));
    if (p.isSet(QStringLiteral("tcp")) && !tcpAddress(p.value(QStringLiteral("tcp")), o, error))
        return std::nullopt;
    if (o.tcp && !o.link.isEmpty()) {
        *error = QStringLiteral("--link makes a link to the pseudo-terminal; with --tcp there is none");
        return std::nullopt;
    }
    o.pacing = !p.isSet(QStringLiteral("no-pacing"));
    o.faults.chunks = p.isSet(QStringLiteral("chunks"));
    o.faults.nul = p.isSet(QStringLiteral("nul"));
    o.faults.silent = p.isSet(QStringLiteral("silent"));
    o.faults.dropOk = p.isSet(QStringLiteral("drop-ok"));
    o.faults.junk = p.isSet(QStringLiteral("junk"));
    o.faults.bareOk = p.isSet(QStringLiteral("bare-ok"));
    o.faults.emptyReplies = p.isSet(QStringLiteral("empty-replies"));
    o.faults.noRecords = p.isSet(QStringLiteral("no-records"));
    o.faults.silentAfterErase = p.isSet(QStringLiteral("silent-after-erase"));
    o.quiet = p.isSet(QStringLiteral("quiet"));
    o.keys = !p.isSet(QStringLiteral("no-keys"));
    int seed = 0;
    if (!count(p, QStringLiteral("baud"), &o.baud, error) || !count(p, QStringLiteral("latency"), &o.faults.latencyMs, error)
        || !count(p, QStringLiteral("error-p"), &o.faults.errorP, error)
        || !count(p, QStringLiteral("error-g"), &o.faults.errorG, error)
        || !count(p, QStringLiteral("bad-readback"), &o.faults.badReadback, error)
        || !count(p, QStringLiteral("stall-after"), &o.faults.stallAfter, error)
        || !count(p, QStringLiteral("pause-after"), &o.faults.pauseAfter, error)
        || !count(p, QStringLiteral("pause-ms"), &o.faults.pauseMs, error)
        || !count(p, QStringLiteral("max-events"), &o.maxEvents, error)
        || !count(p, QStringLiteral("add-events"), &o.addEvents, error)
        || !count(p, QStringLiteral("seed"), &seed, error))
        return std::nullopt;
    if (o.maxEvents < 1) {
        *error = QStringLiteral("--max-events wants at least 1");
        return std::nullopt;
    }
    if (o.baud < 300) {
        *error = QStringLiteral("--baud wants at least 300");
        return std::nullopt;
    }
    if (p.isSet(QStringLiteral("seed")))
        o.seed = quint32(seed);
    if (p.isSet(QStringLiteral("tag"))) {
        const auto tag = PanelLines::normaliseTag(p.value(QStringLiteral("tag")).toLatin1());
        if (!tag) {
            *error = QStringLiteral("--tag wants ten hexadecimal digits, not \"%1\"").arg(p.value(QStringLiteral("tag")));
            return std::nullopt;
        }
        o.tag = *tag;
    }
    if (p.isSet(QStringLiteral("tag-delay"))) {
        bool ok = false;
        const double seconds = p.value(QStringLiteral("tag-delay")).toDouble(&ok);
        if (!ok || seconds < 0 || seconds > 86400) {
            *error = QStringLiteral("--tag-delay wants seconds (0 to 86400), not \"%1\"")
                         .arg(p.value(QStringLiteral("tag-delay")));
            return std::nullopt;
        }
        o.tagDelayMs = int(seconds * 1000);
    }
    return o;
}

QString PanelOptions::helpText()
{
    QCommandLineParser p;
    addOptions(p);
    return p.helpText() + QStringLiteral("\n") + keysText();
}

QString PanelOptions::keysText()
{
    return QStringLiteral(
        "Keys (in the panel's terminal):\n"
        "  t  hold the next tag of the RFID store to the reader (a new one when the store is empty)\n"
        "  n  hold a tag the panel does not know to the reader\n"
        "  f  a tag line with a wrong check byte (a bad read)\n"
        "  o  leave out the OK of the next reply\n"
        "  j  send a line of noise\n"
        "  s  silent on / off\n"
        "  h  this list\n"
        "  q  quit (with --memory, the memory is saved first)\n");
}
