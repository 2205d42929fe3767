// What corvalen-cli takes from its command line, its environment and a PIN
// file, and what it refuses before it opens any port.
#include "cli/CliHarness.h"
#include "cli/CliOptions.h"
#include "cli/CliProgress.h"
#include "cli/PinSource.h"
#include "cli/TerminalSecret.h"

#include <QFile>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <thread>

TEST(CliOptions, TakeOptionsAnywhereAndRefuseWhatIsWrong)
{
    const DeviceMap devices;
    CliOptions o = CliOptions::parse({"directory", "--json", "get", "a.csv", "--port=tcp://[::1]:4001", "-q"}, devices);
    ASSERT_TRUE(o.error.isEmpty()) << o.error.toStdString();
    EXPECT_EQ(o.command->job, CliCommand::Job::DirectoryGet);
    EXPECT_EQ(o.file, "a.csv");
    EXPECT_EQ(o.port, "tcp://[::1]:4001");
    EXPECT_TRUE(o.json && o.quiet);

    o = CliOptions::parse({"--com3=rfc2217://panel:4002", "--port", "COM3", "identify"}, devices);
    EXPECT_TRUE(o.error.isEmpty());
    EXPECT_EQ(o.devices.device(3), "rfc2217://panel:4002");

    struct Bad
    {
        QStringList args;
        const char *says;
    };
    const Bad bad[] = {
        {{"--pin", "1234", "identify"}, "can be read by every user"},
        {{"--pin=1234", "identify"}, "can be read by every user"},
        {{}, "No command given"},
        {{"directory", "get"}, "needs a file"},
        {{"directory", "fetch", "a.csv"}, "Unknown action directory fetch"},
        {{"clock", "get", "extra"}, "Too many words"},
        {{"frobnicate"}, "Unknown command"},
        {{"--port", "tcp://host", "identify"}, "--port tcp://host"},
        {{"--com2=tcp://", "identify"}, ""},
        {{"--verbose", "identify"}, "Unknown option --verbose"},
    };
    for (const Bad &b : bad) {
        const CliOptions wrong = CliOptions::parse(b.args, devices);
        EXPECT_FALSE(wrong.error.isEmpty()) << b.args.join(' ').toStdString();
        EXPECT_TRUE(wrong.error.contains(QLatin1String(b.says))) << wrong.error.toStdString();
    }
}

TEST_F(CliOnPanel, UsageErrorsAndHelpOpenNoPort)
{
    EXPECT_EQ(run({"--pin=1234", "identify"}), 2);
    EXPECT_TRUE(err().contains("Try 'corvalen-cli --help'."));
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_TRUE(out().startsWith("Usage: corvalen-cli [OPTIONS] COMMAND [FILE]"));
    EXPECT_TRUE(out().contains("Exit status:"));
    EXPECT_EQ(run({"rfid", "--help"}), 0);
    EXPECT_TRUE(out().contains("rfid get FILE.csv") && out().contains("rfid put FILE.csv"));
    EXPECT_FALSE(out().contains("directory get"));
    EXPECT_EQ(run({"--version"}), 0);
    EXPECT_EQ(out(), "corvalen-cli 7.1\n");
    EXPECT_TRUE(port.commands().isEmpty());
}

TEST_F(CliOnPanel, NoPinAnywhereIsAUsageError)
{
    env.remove("CORVALEN_PIN");
    EXPECT_EQ(run({"identify"}), 2);
    EXPECT_TRUE(err().contains("No PIN: set CORVALEN_PIN"));
    EXPECT_EQ(console.questions, QStringList({"PIN: "}));

    console.secrets = {"1234"};
    EXPECT_EQ(run({"identify"}), 0);
}

TEST_F(CliOnPanel, APinFileOthersCanReadIsRefusedAndAPrivateOneIsUsed)
{
    env.remove("CORVALEN_PIN");
    const QString file = path("pin");
    write(file, "1234\n");
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0644), 0);
    EXPECT_EQ(run({"--pin-file", file, "identify"}), 2);
    EXPECT_TRUE(err().contains("chmod 600")) << err().toStdString();
    EXPECT_TRUE(port.commands().isEmpty());

    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0600), 0);
    EXPECT_EQ(run({"--pin-file", file, "identify"}), 0) << err().toStdString();
}

TEST(PinSource, APinIsOneToSixteenCharactersTheLineCanCarry)
{
    EXPECT_TRUE(PinSource::checkPin("1234").isEmpty());
    EXPECT_TRUE(PinSource::checkPin(QByteArray(16, '7')).isEmpty());
    EXPECT_FALSE(PinSource::checkPin(QByteArray(17, '7')).isEmpty());
    EXPECT_FALSE(PinSource::checkPin("").isEmpty());
    EXPECT_FALSE(PinSource::checkPin("12\r4").isEmpty());
}

TEST(TerminalSecret, ReadsALineWithEchoOffAndPutsTheTerminalBack)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const int slave = ::open(ptsname(master), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    termios before{};
    tcgetattr(slave, &before);
    ASSERT_TRUE(before.c_lflag & ECHO);

    // The line is typed once echo is off, as a person types after the
    // question; typed earlier, the terminal would echo it on arrival.
    std::optional<QByteArray> secret;
    std::thread reader([&] { secret = TerminalSecret::read(slave, "PIN: "); });
    for (int tries = 0; tries < 2000; ++tries) {
        termios now{};
        tcgetattr(slave, &now);
        if (!(now.c_lflag & ECHO))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const bool typed = ::write(master, "s3cret\n", 7) == 7;
    if (!typed)
        ::close(slave); // the read ends instead of waiting for a line that never comes
    reader.join();
    ASSERT_TRUE(typed);
    ASSERT_TRUE(secret.has_value());
    EXPECT_EQ(*secret, QByteArray("s3cret"));

    termios after{};
    tcgetattr(slave, &after);
    EXPECT_TRUE(after.c_lflag & ECHO);
    // What the terminal showed: the question and the line end, never the secret.
    char shown[256] = {};
    fcntl(master, F_SETFL, O_NONBLOCK);
    const ssize_t n = ::read(master, shown, sizeof shown - 1);
    const QByteArray screen(shown, n > 0 ? int(n) : 0);
    EXPECT_TRUE(screen.contains("PIN: "));
    EXPECT_FALSE(screen.contains("s3cret")) << screen.toStdString();
    ::close(slave);
    ::close(master);

    EXPECT_FALSE(TerminalSecret::read(-1, "PIN: ").has_value());
}

TEST(CliProgress, TheBarShowsThePercentageAndTheTimeLeft)
{
    EXPECT_EQ(CliProgress::bar(0, 100, 0), "[..............................]   0%");
    EXPECT_EQ(CliProgress::bar(50, 100, 10000), "[###############...............]  50%  10 s left");
    EXPECT_EQ(CliProgress::bar(10, 100, 10000), "[###...........................]  10%  1 min 30 s left");
    EXPECT_EQ(CliProgress::bar(120, 100, 5000), "[##############################] 100%");
}

TEST_F(CliOnPanel, ProgressIsOneLineAStageOffATerminalAndNoneWhenQuiet)
{
    ASSERT_EQ(run({"directory", "get", path("gate.csv")}), 0);
    EXPECT_TRUE(err().contains("Loging on Please Wait\nConnected\nReading the phone directory\n"));
    EXPECT_FALSE(err().contains('\r'));
    ASSERT_EQ(run({"-q", "directory", "get", path("gate.csv")}), 0);
    EXPECT_TRUE(err().isEmpty()) << err().toStdString();
    console.terminal = true;
    ASSERT_EQ(run({"directory", "get", path("gate.csv")}), 0);
    EXPECT_TRUE(err().contains("Reading the phone directory  [")) << err().toStdString();
    EXPECT_TRUE(err().contains("100%")) << err().toStdString();
}
