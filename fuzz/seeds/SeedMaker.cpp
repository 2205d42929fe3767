// fuzz-seeds FOLDER: writes the seed corpora of the fuzzers into
// FOLDER/<fuzzer>/, from real examples: what the virtual panel (a 100 model
// with the demo building) answers to the program's own commands, with and
// without the panel's line faults, and the files the program writes.
// The same run always writes the same seeds.
#include "DemoData.h"
#include "PanelEngine.h"
#include "PanelLines.h"

#include "directory/DirectoryBackupContent.h"
#include "parameters/ParameterBackupContent.h"
#include "rfid/TagStoreContent.h"
#include "directory/DirectoryTransfer.h"
#include "directory/PhoneListFile.h"
#include "events/EventTransfer.h"
#include "link/LogOnDetails.h"
#include "parameters/ParameterControls.h"
#include "parameters/ParameterReads.h"
#include "rfid/RfidDownload.h"
#include "support/FuzzApp.h"
#include "support/FuzzInput.h"
#include "support/ScratchFiles.h"
#include "table/SpreadsheetFile.h"
#include "table/TableFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <functional>

namespace {

QString outFolder;

void writeSeed(const char *fuzzer, const QString &name, const QByteArray &bytes)
{
    const QString folder = outFolder + QLatin1Char('/') + QLatin1String(fuzzer);
    QDir().mkpath(folder);
    QFile file(folder + QLatin1Char('/') + name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "fuzz-seeds: cannot write %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
}

// A shaped seed: the chunk-plan byte, then the replies.
QByteArray shaped(quint8 shape, const QList<QByteArray> &replies)
{
    return QByteArray(1, char(shape)) + FuzzInput::join(replies);
}

// The demo building on a 100 model, logged on, its clock on a fixed time.
struct DemoPanel
{
    PanelEngine engine{QStringLiteral("100")};

    explicit DemoPanel(bool demo = true)
    {
        engine.clock().set(PanelClock::fields(2026, 3, 14, 9, 26, 53));
        if (demo)
            DemoData::seed(engine.memory(), engine.clock().now());
        engine.feed("\r");
        engine.feed("a" + engine.pin() + "\r");
    }
};

// Runs a procedure of the program against the panel and returns the
// panel's reply to each command it wrote, in order.
QList<QByteArray> repliesTo(PanelEngine &engine, const std::function<void(FuzzApp &)> &procedure,
                            FuzzApp *keep = nullptr)
{
    FuzzApp local;
    FuzzApp &app = keep ? *keep : local;
    QList<QByteArray> replies;
    app.port.setResponder([&](const QByteArray &command) {
        replies.append(engine.feed(command + "\r"));
        return replies.last();
    });
    procedure(app);
    app.port.setResponder({});
    return replies;
}

void getData(FuzzApp &app)
{
    DirectoryTransfer(app.ctx).GetDataClick();
}

void dnLoad(FuzzApp &app)
{
    EventLog log;
    const QDateTime noon(QDate(2026, 3, 14), QTime(9, 27, 0));
    EventTransfer(app.ctx, log, ComputerClock([noon] { return noon; }, QLocale::c())).dnLoadClick();
}

void readAll(FuzzApp &app)
{
    ParameterControls controls(&app.directory);
    ParameterReads::ReadAllClick(app.ctx, controls);
}

void rfidDownload(FuzzApp &app)
{
    RfidDownload(app.ctx).download_idClick();
}

// The faults of the virtual panel that change what the program receives.
struct Fault
{
    const char *name;
    std::function<void(PanelFaults &)> set;
};

const QList<Fault> &faults()
{
    static const QList<Fault> all = {
        {"clean", [](PanelFaults &) {}},
        {"nul", [](PanelFaults &f) { f.nul = true; }},
        {"junk", [](PanelFaults &f) { f.junk = true; }},
        {"no-ok", [](PanelFaults &f) { f.dropOk = true; }},
        {"stall", [](PanelFaults &f) { f.stallAfter = 300; }},
    };
    return all;
}

void directorySeeds()
{
    quint8 shape = 0;
    for (const Fault &fault : faults()) {
        DemoPanel panel;
        fault.set(panel.engine.faults());
        const QByteArray reply = repliesTo(panel.engine, getData).value(0);
        writeSeed("directory_listing", QStringLiteral("demo-%1").arg(fault.name), shaped(shape, {reply}));
        writeSeed("receive_handler", QStringLiteral("directory-%1").arg(fault.name),
                  QByteArray(1, char(shape)) + QByteArray(1, char(shape & 3)) + reply);
        shape = quint8(shape * 3 + 7);
        if (QLatin1String(fault.name) != QLatin1String("clean"))
            continue;
        // Every third resident's line, and one empty slot.
        const QList<QByteArray> lines = ReplyMemo::splitLines(reply);
        for (int i = 1; i + 1 < lines.size(); i += 3) {
            writeSeed("panel_entry", QStringLiteral("line-%1").arg(i, 3, 10, QLatin1Char('0')), lines.at(i));
            if (lines.at(i).size() <= 5)
                break;
        }
    }
    DemoPanel empty(false);
    writeSeed("directory_listing", QStringLiteral("empty-panel"), shaped(5, {repliesTo(empty.engine, getData).value(0)}));
    int edge = 0;
    for (const char *line : {"1000 123456,1111,2222,33,:;<0123456789??,Name, with comma",
                             "1020 1234567,1,2,3,4,A name longer than sixteen", "10"})
        writeSeed("panel_entry", QStringLiteral("edge-%1").arg(++edge), line);
}

void eventSeeds()
{
    quint8 shape = 0;
    for (const Fault &fault : faults()) {
        DemoPanel panel;
        fault.set(panel.engine.faults());
        const QList<QByteArray> replies = repliesTo(panel.engine, dnLoad);
        writeSeed("event_download", QStringLiteral("demo-%1").arg(fault.name), shaped(shape, replies));
        writeSeed("receive_handler", QStringLiteral("events-%1").arg(fault.name),
                  QByteArray(1, char(shape)) + QByteArray(1, char(1)) + replies.value(2).left(900));
        shape = quint8(shape * 5 + 3);
        if (QLatin1String(fault.name) != QLatin1String("clean"))
            continue;
        const QList<QByteArray> lines = ReplyMemo::splitLines(replies.value(2));
        for (int i = 1; i + 1 < lines.size(); i += 3)
            writeSeed("event_line", QStringLiteral("line-%1").arg(i, 3, 10, QLatin1Char('0')), lines.at(i));
    }
}

void tagSeeds()
{
    DemoPanel panel;
    const QList<std::pair<const char *, bool>> tags = {
        {"04A1B2C3D4", false}, {"cafe0beef0", false}, {"FEDCBA9876", true}, {"0000000000", false}};
    quint8 shape = 0;
    for (const auto &[code, corrupt] : tags) {
        panel.engine.presentTag(code, corrupt);
        const QByteArray line = PanelOutput::join(panel.engine.takeUnsolicited());
        writeSeed("tag_line", QStringLiteral("tag-%1%2").arg(QLatin1String(code), corrupt ? "-bad" : ""),
                  shaped(shape, {line}));
        shape = quint8(shape + 3);
    }
    panel.engine.sendJunkLine();
    writeSeed("tag_line", QStringLiteral("junk"), shaped(1, {PanelOutput::join(panel.engine.takeUnsolicited())}));
}

void rfidSeeds()
{
    quint8 shape = 0;
    for (const Fault &fault : faults()) {
        DemoPanel panel;
        fault.set(panel.engine.faults());
        QByteArray reply = repliesTo(panel.engine, rfidDownload).value(0);
        if (QLatin1String(fault.name) != QLatin1String("clean")) {
            // The records that hold tags and the reply's end: the erased
            // records between them only make the seed slow.
            const QList<QByteArray> lines = reply.split('\n');
            reply = lines.mid(0, 8).join('\n') + '\n' + lines.mid(lines.size() - 3).join('\n');
        }
        writeSeed("rfid_store", QStringLiteral("demo-%1").arg(fault.name), shaped(shape, {reply}));
        shape = quint8(shape * 7 + 5);
    }
    DemoPanel empty(false);
    writeSeed("rfid_store", QStringLiteral("erased"),
              shaped(9, {repliesTo(empty.engine, rfidDownload).value(0).right(300)}));
}

void parameterSeeds()
{
    quint8 shape = 0;
    for (const Fault &fault : faults()) {
        DemoPanel panel;
        fault.set(panel.engine.faults());
        writeSeed("parameter_reply", QStringLiteral("demo-%1").arg(fault.name),
                  shaped(shape, repliesTo(panel.engine, readAll)));
        shape = quint8(shape * 3 + 11);
    }
    DemoPanel defaults(false);
    const QList<QByteArray> replies = repliesTo(defaults.engine, readAll);
    writeSeed("parameter_reply", QStringLiteral("defaults"), shaped(0, replies));
    writeSeed("receive_handler", QStringLiteral("parameters"),
              QByteArray(1, char(2)) + QByteArray(1, char(2)) + replies.join());

    // The files Save As writes: after a Read All of each panel, and with
    // every control at its default.
    PhoneDirectory directory;
    writeSeed("parameter_file", QStringLiteral("page-defaults"), ParameterControls(&directory).fileRecord().bytes());
    for (bool demo : {true, false}) {
        DemoPanel panel(demo);
        FuzzApp app;
        ParameterControls controls(&app.directory);
        repliesTo(panel.engine, [&](FuzzApp &a) { ParameterReads::ReadAllClick(a.ctx, controls); }, &app);
        writeSeed("parameter_file", demo ? QStringLiteral("read-demo") : QStringLiteral("read-defaults"),
                  controls.fileRecord().bytes());
    }
}

void phoneListSeeds()
{
    DemoPanel panel;
    FuzzApp app;
    repliesTo(panel.engine, getData, &app);
    repliesTo(panel.engine, rfidDownload, &app);
    const QByteArray written = TableFile::format(app.directory.PhoneTable);
    writeSeed("phone_list_file", QStringLiteral("demo-with-tags"), written);
    // Exported for spreadsheets, and as a spreadsheet saves it in UTF-16.
    const Table &table = app.directory.PhoneTable;
    writeSeed("phone_list_file", QStringLiteral("export-comma"), SpreadsheetFile::format(table, ','));
    writeSeed("phone_list_file", QStringLiteral("export-semicolon"), SpreadsheetFile::format(table, ';'));
    const QString sheet = QStringLiteral("Name\tRoomNumber\tPHnumber\r\n\"M\u00fcller, J\u00fcrgen\"\t12\t021\r\n"
                                         "\"Dvo\u0159\u00e1k \"\"Ant\u00f3n\"\"\"\t13\t\r\n");
    QByteArray utf16("\xFF\xFE");
    for (QChar c : sheet)
        utf16 += QByteArray(1, char(c.unicode() & 0xFF)) + QByteArray(1, char(c.unicode() >> 8));
    writeSeed("phone_list_file", QStringLiteral("sheet-utf16"), utf16);
    FuzzApp fresh;
    writeSeed("phone_list_file", QStringLiteral("header-only"), TableFile::format(fresh.directory.PhoneTable));
    writeSeed("phone_list_file", QStringLiteral("other-order"),
              "addr,name,roomnumber,Extra,phnumber\r\n1000,Adams Helen,101,x,0211234567\n\n"
              "1020,A name longer than sixteen,102\r\n");
    writeSeed("phone_list_file", QStringLiteral("escapes"),
              "Name,RoomNumber,PHnumber,Code1,Code2,spare,RFID,Addr\r\n"
              "50%% off%c%nline%0x%m,7,,,,,,1000\r\nTrailing %,8,1,2,3,4,0123456789,1020,surplus\r\n");
}

void bulkReadSeeds()
{
    // The three reads a backup takes, as the demo panel answers them, with
    // and without the panel's line faults.
    const auto reads = [](FuzzApp &app) {
        QString why;
        DirectoryBackupContent::readPanel(app.link, &why);
        ParameterBackupContent::readPanel(app.link, &why);
        TagStoreContent::readPanel(app.link, &why);
    };
    quint8 shape = 0;
    for (const Fault &fault : faults()) {
        DemoPanel panel;
        fault.set(panel.engine.faults());
        writeSeed("bulk_reads", QStringLiteral("demo-%1").arg(fault.name), shaped(shape, repliesTo(panel.engine, reads)));
        shape = quint8(shape * 5 + 9);
    }
    // Replies shorter than any bulk reply: a bare "OK", an empty line and
    // "OK", the first line and "OK", one record line without "OK".
    writeSeed("bulk_reads", QStringLiteral("bare-ok"), shaped(0, {"OK\r\n", "OK\r\n", "OK\r\n"}));
    writeSeed("bulk_reads", QStringLiteral("empty-line-ok"), shaped(3, {"\r\nOK\r\n", "\r\nOK\r\n", "\r\nOK\r\n"}));
    writeSeed("bulk_reads", QStringLiteral("first-line-ok"),
              shaped(0, {"d01281152\r\nOK\r\n", "d00010010\r\nOK\r\n", "s14081535\r\nOK\r\n"}));
    writeSeed("bulk_reads", QStringLiteral("one-line"),
              shaped(1, {"d01281152\r\n1000 101,,,,0211,\r\n", "d00010010\r\n", "OK"}));
}

void detailsSeeds()
{
    LogOnDetails remembered;
    remembered.pin = "1234";
    remembered.phoneNumber = "0211234567";
    remembered.rememberDetails = true;
    remembered.remote = true;
    remembered.portNumber = 2;
    writeSeed("details_file", QStringLiteral("remembered"), remembered.toBytes());
    LogOnDetails longest;
    longest.pin = "9876543210987654";
    longest.phoneNumber = "*31#0219988776pp";
    longest.rememberDetails = true;
    longest.portNumber = 4;
    writeSeed("details_file", QStringLiteral("longest"), longest.toBytes());
    writeSeed("details_file", QStringLiteral("forgotten"), LogOnDetails().toBytes());
    writeSeed("details_file", QStringLiteral("short"), remembered.toBytes().left(36));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz-seeds FOLDER   (writes FOLDER/<fuzzer>/<seed>)\n");
        return 2;
    }
    outFolder = QString::fromLocal8Bit(argv[1]);
    directorySeeds();
    eventSeeds();
    tagSeeds();
    rfidSeeds();
    parameterSeeds();
    phoneListSeeds();
    detailsSeeds();
    bulkReadSeeds();
    return 0;
}
