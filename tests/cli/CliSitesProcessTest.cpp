// Two buildings with panels of the same model, each a site of the book, the
// real corvalen-cli against two virtual panels on two TCP ports: download,
// edit, write all and restore in each, two of them at the same moment. No
// backup, phone list or PIN of one site ever reaches the other, and each
// panel's memory is what its own site's work makes it, byte for byte.
#include "DemoData.h"
#include "PanelEngine.h"
#include "TcpPanelServer.h"
#include "backup/BackupName.h"
#include "link/PortSettings.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>

namespace {

struct CliRun
{
    int exit = -1;
    QByteArray out;
    QByteArray err;
    QJsonObject summary() const { return QJsonDocument::fromJson(out).object(); }
};

struct Building
{
    const char *name;
    QByteArray pin;
    PanelEngine engine;
    std::unique_ptr<TcpPanelServer> server;
    QList<QByteArray> commands; // everything the panel was sent

    QByteArray memory() const
    {
        QByteArray all;
        for (int record = 0; record <= 1535; ++record)
            if (engine.memory().exists(record))
                all += QByteArray::number(record) + ':' + engine.memory().record(record) + '\n';
        return all;
    }
};

struct TwoSites : ::testing::Test
{
    QTemporaryDir dir;
    Building harbour{"12 Harbour Street, gate 2", "4711"};
    Building mill{"Mill Lane", "0815"};

    void SetUp() override
    {
        for (Building *b : {&harbour, &mill}) {
            DemoData::seed(b->engine.memory(), QDateTime::currentDateTime());
            b->engine.setPin(b->pin);
            b->server = std::make_unique<TcpPanelServer>(b->engine, QHostAddress::LocalHost, 0);
            // After the server, which watches the commands for its own log.
            b->engine.setCommandObserver([b](const QByteArray &command) { b->commands << command; });
            b->server->setPacing(false);
            QString error;
            ASSERT_TRUE(b->server->open(&error)) << error.toStdString();
        }
    }

    QString path(const QString &name) const { return dir.filePath(name); }
    QString folder(const Building &b) const { return path(QString::fromLatin1(b.name).left(4)); }

    QProcess *start(const QStringList &args, const QProcessEnvironment &extra = {})
    {
        auto *cli = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"CORVALEN_PIN", "CORVALEN_NEW_PIN", "CORVALEN_COM1", "CORVALEN_COM2",
                                 "CORVALEN_COM3", "CORVALEN_COM4", "DBUS_SESSION_BUS_ADDRESS"})
            env.remove(QLatin1String(name));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), path("config"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), path("data"));
        env.insert(QStringLiteral("XDG_STATE_HOME"), path("state"));
        for (const QString &name : extra.keys())
            env.insert(name, extra.value(name));
        cli->setProcessEnvironment(env);
        cli->setProgram(QStringLiteral(CORVALEN_CLI_EXECUTABLE));
        cli->setArguments(args);
        cli->start();
        return cli;
    }
    // Waits for the runs while this process's event loop serves the panels.
    static QList<CliRun> finish(const QList<QProcess *> &runs)
    {
        QEventLoop loop;
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        auto allDone = [&] {
            for (QProcess *p : runs)
                if (p->state() != QProcess::NotRunning)
                    return false;
            return true;
        };
        for (QProcess *p : runs)
            QObject::connect(p, &QProcess::finished, &loop, [&] {
                if (allDone())
                    loop.quit();
            });
        if (!allDone())
            loop.exec();
        QList<CliRun> out;
        for (QProcess *p : runs) {
            CliRun r;
            if (p->state() == QProcess::NotRunning && p->exitStatus() == QProcess::NormalExit)
                r.exit = p->exitCode();
            else
                p->kill(), p->waitForFinished(2000);
            r.out = p->readAllStandardOutput();
            r.err = p->readAllStandardError();
            out << r;
            delete p;
        }
        return out;
    }
    CliRun run(const QStringList &args, const QProcessEnvironment &extra = {}) { return finish({start(args, extra)}).first(); }

    static QByteArray read(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void write(const QString &file, const QByteArray &bytes)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

} // namespace

TEST_F(TwoSites, EachSitesWorkStaysWithItsOwnPanelAndFolder)
{
    for (Building *b : {&harbour, &mill}) {
        const QString name = QString::fromLatin1(b->name);
        CliRun r = run({"sites", "add", name, "--port", b->server->devicePath(), "--folder", folder(*b)});
        ASSERT_EQ(r.exit, 0) << r.err.toStdString();
        QProcessEnvironment newPin;
        newPin.insert(QStringLiteral("CORVALEN_NEW_PIN"), QString::fromLatin1(b->pin));
        r = run({"sites", "pin", name, "--keep", "file"}, newPin);
        ASSERT_EQ(r.exit, 0) << r.err.toStdString();
    }

    // Download, and write the list back as it came: the slots as a write
    // all lays them out. That is what a restore must bring back.
    QMap<const Building *, QByteArray> laidOut;
    QMap<const Building *, QByteArray> original;
    for (Building *b : {&harbour, &mill}) {
        const QString list = folder(*b) + QStringLiteral("/gate.csv");
        CliRun r = run({"--site", QString::fromLatin1(b->name), "directory", "get", list});
        ASSERT_EQ(r.exit, 0) << r.err.toStdString();
        original[b] = read(list);
        r = run({"--site", QString::fromLatin1(b->name), "--quiet", "directory", "put", list});
        ASSERT_EQ(r.exit, 0) << r.err.toStdString();
        laidOut[b] = b->memory();
    }

    // Each site's own edit, written to both panels at the same moment.
    QList<QProcess *> puts;
    for (Building *b : {&harbour, &mill}) {
        QByteArray edited = original[b];
        const qsizetype first = edited.indexOf('\n') + 1;
        edited.replace(first, edited.indexOf(',', first) - first, "Only " + QByteArray(b->name).left(4));
        write(folder(*b) + QStringLiteral("/edited.csv"), edited);
        puts << start({"--site", QString::fromLatin1(b->name), "--json", "--quiet", "directory", "put",
                       folder(*b) + QStringLiteral("/edited.csv")});
    }
    const QList<CliRun> written = finish(puts);
    QMap<const Building *, QString> backups;
    for (int i = 0; i < 2; ++i) {
        const Building *b = i == 0 ? &harbour : &mill;
        ASSERT_EQ(written[i].exit, 0) << written[i].err.toStdString();
        const QJsonObject summary = written[i].summary();
        EXPECT_EQ(summary.value("site").toString(), QString::fromLatin1(b->name));
        backups[b] = summary.value("backup").toString();
        EXPECT_EQ(QFileInfo(backups[b]).absolutePath(), folder(*b));
        const std::optional<BackupName> name = BackupName::parse(QFileInfo(backups[b]).fileName());
        ASSERT_TRUE(name) << backups[b].toStdString();
        EXPECT_EQ(name->site, BackupName::siteToken(QString::fromLatin1(b->name)));
        EXPECT_EQ(read(backups[b]).count('\n'), original[b].count('\n')); // what the panel held before
    }
    EXPECT_NE(backups[&harbour], backups[&mill]);
    EXPECT_TRUE(harbour.memory().contains("Only 12 H"));
    EXPECT_FALSE(harbour.memory().contains("Only Mill"));
    EXPECT_TRUE(mill.memory().contains("Only Mill"));
    EXPECT_FALSE(mill.memory().contains("Only 12 H"));

    // Restore each site's backup onto its own panel: back to what it held.
    for (Building *b : {&harbour, &mill}) {
        const CliRun r = run({"--site", QString::fromLatin1(b->name), "--quiet", "directory", "put", backups[b]});
        ASSERT_EQ(r.exit, 0) << r.err.toStdString();
        EXPECT_EQ(b->memory(), laidOut[b]) << b->name;
    }

    // Neither panel ever saw the other's PIN; neither folder holds a file of
    // the other site.
    for (const Building *b : {&harbour, &mill}) {
        const Building *other = b == &harbour ? &mill : &harbour;
        for (const QByteArray &command : b->commands)
            EXPECT_FALSE(command.contains(other->pin)) << b->name << ": " << command.constData();
        EXPECT_TRUE(std::any_of(b->commands.cbegin(), b->commands.cend(),
                                [&](const QByteArray &command) { return command.startsWith("a" + b->pin); }))
            << b->name;
        for (const QString &file : QDir(folder(*b)).entryList(QDir::Files)) {
            if (const std::optional<BackupName> name = BackupName::parse(file))
                EXPECT_EQ(name->site, BackupName::siteToken(QString::fromLatin1(b->name))) << file.toStdString();
            const QByteArray bytes = read(folder(*b) + QLatin1Char('/') + file);
            EXPECT_FALSE(bytes.contains("Only " + QByteArray(other->name).left(4))) << file.toStdString();
            EXPECT_FALSE(bytes.contains(other->pin)) << file.toStdString();
        }
    }
    EXPECT_FALSE(QDir(path("data/corvalen-pro/backups")).exists()); // nothing outside the sites
    const QByteArray book = read(path("config/Corvalen-Pro/sites.txt"));
    EXPECT_FALSE(book.contains(harbour.pin) || book.contains(mill.pin));
    EXPECT_TRUE(book.contains("Corvalen_1000_Xarn"));
}

// Without sites two panels of the same model read in the same second used
// to share one backup name, the second replacing the first.
TEST_F(TwoSites, TwoPutsOutsideAnySiteInTheSameSecondKeepBothBackups)
{
    QList<QProcess *> puts;
    QList<QByteArray> lists;
    for (Building *b : {&harbour, &mill}) {
        const QString list = path(QString::fromLatin1(b->name).left(4) + QStringLiteral(".csv"));
        QProcessEnvironment pin;
        pin.insert(QStringLiteral("CORVALEN_PIN"), QString::fromLatin1(b->pin));
        const CliRun r = run({"--port", b->server->devicePath(), "directory", "get", list}, pin);
        ASSERT_EQ(r.exit, 0) << r.err.toStdString();
        lists << read(list);
        puts << start({"--port", b->server->devicePath(), "--json", "--quiet", "directory", "put", list}, pin);
    }
    const QList<CliRun> done = finish(puts);
    QStringList backups;
    for (const CliRun &r : done) {
        ASSERT_EQ(r.exit, 0) << r.err.toStdString();
        backups << r.summary().value("backup").toString();
    }
    EXPECT_NE(backups[0], backups[1]);
    EXPECT_EQ(QDir(path("data/corvalen-pro/backups")).entryList(QDir::Files).size(), 2);
    for (const QString &backup : backups)
        EXPECT_TRUE(BackupName::parse(QFileInfo(backup).fileName())->site.isEmpty());
}

// A site on COM2 is the panel the window reaches on COM2: the device
// remembered in the window's settings, under the CORVALEN_COM2 variable.
TEST_F(TwoSites, ASiteOnACOMPortReachesThePanelTheWindowMapsThere)
{
    QString error;
    ASSERT_TRUE(PortSettings(path("config/Corvalen-Pro/corvalen-pro.conf")).setDevice(2, harbour.server->devicePath(), &error))
        << error.toStdString();
    CliRun r = run({"sites", "add", "Harbour", "--port", "COM2"});
    ASSERT_EQ(r.exit, 0) << r.err.toStdString();
    QProcessEnvironment pin;
    pin.insert(QStringLiteral("CORVALEN_PIN"), QString::fromLatin1(harbour.pin));
    r = run({"--site", "Harbour", "identify"}, pin);
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QByteArray("Corvalen_1000_Xarn\n"));
    EXPECT_FALSE(harbour.commands.isEmpty());
    EXPECT_TRUE(mill.commands.isEmpty());

    // A variable given for the run still wins over the remembered device.
    pin.insert(QStringLiteral("CORVALEN_PIN"), QString::fromLatin1(mill.pin));
    pin.insert(QStringLiteral("CORVALEN_COM2"), mill.server->devicePath());
    r = run({"--site", "Harbour", "identify"}, pin);
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_FALSE(mill.commands.isEmpty());
}
