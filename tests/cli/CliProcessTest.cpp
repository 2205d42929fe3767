// The corvalen-cli program itself, in real time: through a pseudo-terminal
// to the virtual panel served from this process, and through tcp:// to the
// panel-sim command's TCP port. Exit status, stderr and the file are what
// a script would see.
#include "DemoData.h"
#include "PtyPanelServer.h"
#include "link/EventLoopWaiter.h"
#include "link/PortSettings.h"

#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>
#include <optional>

namespace {

struct CliRun
{
    int exit = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the program while this process's event loop keeps serving the panel.
// extra: variables set for this run (over the test's own environment).
// input: what standard input holds (none: the test's own).
// The traffic journal goes below a folder of the run's own (XDG_STATE_HOME),
// never into the user's, unless extra names another.
CliRun runCli(const QStringList &args, const QByteArray &pin = "1234", int timeoutMs = 30000,
              const QProcessEnvironment &extra = {}, const std::optional<QByteArray> &input = std::nullopt)
{
    QTemporaryDir ownState;
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (int n = 1; n <= 4; ++n)
        env.remove(QStringLiteral("CORVALEN_COM%1").arg(n));
    env.insert(QStringLiteral("CORVALEN_PIN"), QString::fromLatin1(pin));
    env.insert(QStringLiteral("XDG_STATE_HOME"), ownState.path());
    for (const QString &name : extra.keys())
        env.insert(name, extra.value(name));
    cli.setProcessEnvironment(env);
    cli.setWorkingDirectory(ownState.path()); // where the run keeps its history and event archive
    cli.setProgram(QStringLiteral(CORVALEN_CLI_EXECUTABLE));
    cli.setArguments(args);
    QEventLoop loop;
    QObject::connect(&cli, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    cli.start();
    if (input) {
        cli.waitForStarted();
        cli.write(*input);
        cli.closeWriteChannel();
    }
    loop.exec();
    CliRun run;
    if (cli.state() != QProcess::NotRunning) {
        cli.kill();
        cli.waitForFinished(2000);
        return run;
    }
    run.exit = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
    run.out = cli.readAllStandardOutput();
    run.err = cli.readAllStandardError();
    return run;
}

struct CliProcessOnPty : ::testing::Test
{
    QTemporaryDir dir;
    PanelEngine engine;
    PtyPanelServer server{engine};

    void SetUp() override
    {
        DemoData::seed(engine.memory(), QDateTime::currentDateTime());
        server.setPacing(false);
        QString error;
        ASSERT_TRUE(server.open(&error)) << error.toStdString();
    }
};

} // namespace

TEST_F(CliProcessOnPty, DirectoryGetWritesTheListAndSummary)
{
    const QString file = dir.filePath(QStringLiteral("gate.csv"));
    const CliRun run = runCli({"--port", server.devicePath(), "--json", "directory", "get", file});
    ASSERT_EQ(run.exit, 0) << run.err.toStdString();
    const QJsonObject summary = QJsonDocument::fromJson(run.out).object();
    EXPECT_EQ(summary.value("action").toString(), "directory get");
    EXPECT_EQ(summary.value("counts").toObject().value("entries").toInt(), DemoData::residents().size());
    EXPECT_EQ(summary.value("file").toString(), file);
    // Off a terminal: one line a stage, no bar.
    EXPECT_TRUE(run.err.contains("Reading the phone directory\n"));
    EXPECT_FALSE(run.err.contains('\r'));
    QFile list(file);
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    EXPECT_EQ(list.readAll().count('\n'), DemoData::residents().size() + 1);
}

// COM2 pointed at this panel in the window's Device... dialog: --port COM2
// reaches it from the command line as well.
TEST_F(CliProcessOnPty, APortChosenInTheWindowIsTheSamePortOnTheCommandLine)
{
    QTemporaryDir config;
    QString error;
    ASSERT_TRUE(PortSettings(QDir(config.path()).filePath(QStringLiteral("Corvalen-Pro/corvalen-pro.conf")))
                    .setDevice(2, server.devicePath(), &error))
        << error.toStdString();
    QProcessEnvironment extra;
    extra.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    const CliRun run = runCli({"--port", "COM2", "identify"}, "1234", 30000, extra);
    EXPECT_EQ(run.exit, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QByteArray("Corvalen_1000_Xarn\n"));
}

TEST_F(CliProcessOnPty, ASilentPanelEndsWithStatusThreeAndTheWindowsMessage)
{
    engine.faults().silent = true;
    const CliRun run = runCli({"--port", server.devicePath(), "identify"});
    EXPECT_EQ(run.exit, 3);
    EXPECT_TRUE(run.err.contains("No Reponse from Corvalen\n")) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
}

// The command line keeps the window's traffic journal, in the same folder:
// a run leaves its session there, the PIN masked, and a failed run names it.
TEST_F(CliProcessOnPty, KeepsTheWindowsTrafficJournalAndNamesItWhenARunFails)
{
    const QString state = dir.filePath(QStringLiteral("state"));
    const QString folder = QDir(state).filePath(QStringLiteral("corvalen-pro/journal"));
    QProcessEnvironment stateHome;
    stateHome.insert(QStringLiteral("XDG_STATE_HOME"), state);
    const CliRun good = runCli({"--port", server.devicePath(), "identify"}, "1234", 30000, stateHome);
    ASSERT_EQ(good.exit, 0) << good.err.toStdString();
    EXPECT_FALSE(good.err.contains("Traffic journal")) << good.err.toStdString();
    const QStringList sessions = QDir(folder).entryList({QStringLiteral("session-*.log")}, QDir::Files);
    ASSERT_EQ(sessions.size(), 1) << folder.toStdString();
    QFile log(QDir(folder).filePath(sessions.first()));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray journal = log.readAll();
    EXPECT_TRUE(journal.startsWith("# corvalen-cli ")) << journal.constData();
    EXPECT_TRUE(journal.contains(" * open COM2 (" + server.devicePath().toLocal8Bit() + ")\n")) << journal.constData();
    EXPECT_TRUE(journal.contains(" > a[PIN]\\r\n")) << journal.constData();
    EXPECT_FALSE(journal.contains("1234")) << journal.constData();
    EXPECT_TRUE(journal.contains(" * close\n")) << journal.constData();

    engine.faults().silent = true;
    const CliRun failed = runCli({"--port", server.devicePath(), "identify"}, "1234", 30000, stateHome);
    EXPECT_EQ(failed.exit, 3);
    const QStringList now = QDir(folder).entryList({QStringLiteral("session-*.log")}, QDir::Files, QDir::Name);
    ASSERT_EQ(now.size(), 2);
    EXPECT_TRUE(failed.err.contains("Traffic journal: " + QDir(folder).filePath(now.last()).toLocal8Bit() + "\n"))
        << failed.err.toStdString();
}

TEST(CliProcessOnTcp, ClockGetThroughPanelSimsTcpPort)
{
    QProcess sim;
    sim.setProgram(QStringLiteral(PANEL_SIM_EXECUTABLE));
    sim.setArguments({"--tcp", "0", "--no-pacing", "--quiet", "--no-keys", "--demo"});
    sim.start();
    EventLoopWaiter waiter;
    for (int i = 0; i < 200 && !sim.canReadLine(); ++i)
        waiter.pump(20);
    const QString address = QString::fromLocal8Bit(sim.readLine()).trimmed();
    ASSERT_TRUE(address.startsWith("tcp://")) << address.toStdString();

    const CliRun run = runCli({"--port", address, "clock", "get"});
    EXPECT_EQ(run.exit, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith("Corvalen time: ")) << run.out.toStdString();

    sim.terminate();
    sim.waitForFinished(5000);
}

// A device that is not there: the advice names the command line's options,
// not the window's menu.
TEST(CliProcess, AMissingDeviceIsMetWithTheCommandLinesOwnAdvice)
{
    CliRun run = runCli({"--port", "/dev/corvalen-no-such-device", "identify"});
    EXPECT_EQ(run.exit, 3);
    EXPECT_TRUE(run.err.contains("No such device. Give your adapter's device with --port")) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("Connect, Port"));

    run = runCli({"--port", "COM3", "--com3=/dev/corvalen-no-such-device", "identify"});
    EXPECT_EQ(run.exit, 3);
    EXPECT_TRUE(run.err.contains("point COM3 at your adapter with --com3=DEVICE")) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("Connect, Port"));
}

// "-" on the real program: the list through a pipe both ways; the summary
// of a get to standard output comes last on standard error.
TEST_F(CliProcessOnPty, AListGoesToStandardOutputAndComesFromStandardInput)
{
    const CliRun get = runCli({"--port", server.devicePath(), "--json", "directory", "get", "-"});
    ASSERT_EQ(get.exit, 0) << get.err.toStdString();
    EXPECT_TRUE(get.out.startsWith("Name,RoomNumber,PHnumber,Code1,Code2,spare,RFID,Addr\r\n"));
    EXPECT_EQ(get.out.count('\n'), DemoData::residents().size() + 1);
    const QJsonObject summary = QJsonDocument::fromJson(get.err.trimmed().split('\n').last()).object();
    EXPECT_EQ(summary.value("action").toString(), "directory get");

    const CliRun put =
        runCli({"--port", server.devicePath(), "--quiet", "directory", "put", "-"}, "1234", 30000, {}, get.out);
    EXPECT_EQ(put.exit, 0) << put.err.toStdString();
}

// SIGINT in the middle of a put (Ctrl-C): the program stops after the entry
// being written, logs off, prints its summary and ends with status 1.
TEST_F(CliProcessOnPty, AnInterruptDuringAPutEndsItWithALogOffAndStatusOne)
{
    const QString file = dir.filePath(QStringLiteral("gate.csv"));
    ASSERT_EQ(runCli({"--port", server.devicePath(), "directory", "get", file}).exit, 0);

    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CORVALEN_PIN"), QStringLiteral("1234"));
    cli.setProcessEnvironment(env);
    cli.setProgram(QStringLiteral(CORVALEN_CLI_EXECUTABLE));
    cli.setArguments({"--port", server.devicePath(), "--json", "directory", "put", file});
    QByteArray last;
    engine.setCommandObserver([&](const QByteArray &command) {
        last = command;
        if (command.startsWith("b0130")) // the third entry
            ::kill(pid_t(cli.processId()), SIGINT);
    });
    QEventLoop loop;
    QObject::connect(&cli, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    cli.start();
    loop.exec();
    engine.setCommandObserver({});
    ASSERT_EQ(cli.state(), QProcess::NotRunning);
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(cli.exitCode(), 1);
    const QByteArray err = cli.readAllStandardError();
    EXPECT_TRUE(err.contains("Interrupted by SIGINT")) << err.toStdString();
    const QJsonObject summary = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
    EXPECT_EQ(summary.value("interrupted").toString(), "SIGINT");
    EXPECT_EQ(summary.value("counts").toObject().value("written").toInt(), 3);
    EXPECT_EQ(last, QByteArray("x"));
    QFile::remove(summary.value("backup").toString());
}
