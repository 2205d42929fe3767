#include "link/JournalSerialPort.h"
#include "link/PinMask.h"
#include "link/TrafficJournal.h"
#include "parameters/RecordFields.h"
#include "support/LinkHarness.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// A clock that moves 5 ms at every reading, from a fixed start.
struct SteppingClock
{
    QDateTime now = QDateTime(QDate(2024, 5, 6), QTime(14, 3, 7, 100));
    QDateTime operator()()
    {
        const QDateTime t = now;
        now = now.addMSecs(5);
        return t;
    }
};

QList<QByteArray> recordLines(const QByteArray &journal)
{
    QList<QByteArray> lines = journal.split('\n');
    lines.removeAll(QByteArray());
    if (!lines.isEmpty() && lines.first().startsWith('#'))
        lines.removeFirst();
    return lines;
}

// The received bytes as the journal shows them, its records joined again.
QByteArray receivedText(const QByteArray &journal)
{
    QByteArray text;
    for (const QByteArray &line : recordLines(journal))
        if (line.mid(23, 3) == " < ")
            text += line.mid(26);
    return text;
}

// A link through a journalled port to a panel that takes the PIN 1234 and
// reads the PIN record back with the new PIN in it.
struct JournalledLink
{
    QTemporaryDir dir;
    SteppingClock clock;
    VirtualClock time;
    VirtualWaiter waiter{time};
    VirtualScheduler scheduler{time};
    FakePanelPort panel{scheduler};
    TrafficJournal journal{dir.filePath(QStringLiteral("journal")), std::ref(clock)};
    JournalSerialPort port{panel, journal, [] { return QStringLiteral("COM2 (/dev/ttyUSB1)"); }};
    RecordingStatus status;
    RecordingPrompt prompt;
    CommandExchange link{port, waiter, status, prompt};
    QByteArray pinRecord;

    JournalledLink()
    {
        panel.setResponder([this](const QByteArray &command) -> QByteArray {
            if (command == "a1234")
                return "\r\nOK\r\n";
            if (command.startsWith("p0000")) {
                pinRecord = command.mid(5);
                return "p0000\r\nOK\r\n";
            }
            if (command == "r0000")
                return "r0000" + pinRecord + "\r\nOK\r\n";
            return "Error\r\n";
        });
    }
};
} // namespace

TEST(PinMaskTest, FindsThePinInTheLogOnThePinChangeAndItsReadBackAcrossChunks)
{
    PinMask sent = PinMask::forSent();
    auto hidden = [](const QList<bool> &mask) {
        QByteArray s;
        for (bool b : mask)
            s += b ? '#' : '.';
        return s;
    };
    EXPECT_EQ(hidden(sent.scan("a1234\r")), QByteArray(".####."));
    EXPECT_EQ(hidden(sent.scan("x\rp00")), QByteArray("....."));
    EXPECT_EQ(hidden(sent.scan("0099\xff\r")), QByteArray("..###."));
    EXPECT_EQ(hidden(sent.scan("p0001abc\rr0000\r")), QByteArray("..............."));
    EXPECT_EQ(hidden(sent.scan("d01281152\r")), QByteArray(".........."));

    PinMask received = PinMask::forReceived();
    EXPECT_EQ(hidden(received.scan("\r\nr00")), QByteArray("....."));
    EXPECT_EQ(hidden(received.scan("0042")), QByteArray("..##"));
    EXPECT_EQ(hidden(received.scan("\xff\xff\r\nOK\r\n")), QByteArray("##......"));
    EXPECT_EQ(hidden(received.scan("r0001abc\r\n")), QByteArray(".........."));
}

TEST(TrafficJournalTest, WritesEveryByteWithTimeAndDirectionAndNeverThePin)
{
    JournalledLink h;
    ASSERT_TRUE(h.link.TogglePort());
    h.link.WriteDirect("a1234\r");
    h.waiter.pump(100);
    ASSERT_TRUE(h.link.ProgramRecord("0000", RecordFields::PadField("9876", 32, char(0xFF))));
    h.link.SendCommand("r0001\r");
    h.waiter.pump(100);
    h.port.close();

    const QByteArray journal = h.journal.contents();
    EXPECT_FALSE(journal.contains("1234")) << journal.constData();
    EXPECT_FALSE(journal.contains("9876")) << journal.constData();
    EXPECT_FALSE(journal.contains("\\xff")) << journal.constData(); // the PIN's fill tells its length
    const QList<QByteArray> lines = recordLines(journal);
    ASSERT_GE(lines.size(), 8);
    EXPECT_EQ(lines[0], QByteArray("2024-05-06 14:03:07.100 * open COM2 (/dev/ttyUSB1)"));
    EXPECT_TRUE(lines.contains("2024-05-06 14:03:07.105 > a[PIN]\\r")) << journal.constData();
    EXPECT_TRUE(lines.contains("2024-05-06 14:03:07.115 > p0000[PIN]\\r")) << journal.constData();
    EXPECT_TRUE(journal.contains(" > r0000\\r\n")) << journal.constData();
    EXPECT_TRUE(journal.contains(" < r0000[PIN]\\r\\n\n")) << journal.constData();
    EXPECT_TRUE(journal.contains(" > r0001\\r\n")) << journal.constData();
    EXPECT_TRUE(journal.contains(" < Error\\r\\n\n")) << journal.constData();
    EXPECT_TRUE(lines.last().endsWith(" * close")) << journal.constData();
    // Bytes other than printable ASCII are written so that they read back exactly.
    h.journal.sent(QByteArray("w0128A\\B\x01\x7f", 10));
    EXPECT_TRUE(h.journal.contents().endsWith(" > w0128A\\\\B\\x01\\x7f\n"));
    // A long chunk breaks into lines of 128 bytes, each with its time and direction.
    h.journal.received(QByteArray(300, char(0xFE)));
    const QList<QByteArray> last = recordLines(h.journal.contents()).mid(lines.size() + 1);
    ASSERT_EQ(last.size(), 3);
    const QByteArray stamp = last[0].left(23);
    const QByteArray full = stamp + " < " + QByteArray("\\xfe").repeated(128);
    EXPECT_EQ(last[0], full);
    EXPECT_EQ(last[1], full);
    EXPECT_EQ(last[2], stamp + " < " + QByteArray("\\xfe").repeated(44));
}

// The exchange drops NUL bytes before it reads a reply, so a read-back of
// the PIN record with NULs among its first characters still carries the PIN
// to the exchange: it must not carry it into the journal either, wherever
// the NULs fall and however the reply is cut into chunks.
TEST(TrafficJournalTest, APinReadBackWithNulBytesInItsPrefixIsMaskedInEveryChunking)
{
    const QByteArray prefix = "r0000";
    for (qsizetype nulAt = 0; nulAt <= prefix.size(); ++nulAt) {
        for (int chunk = 1; chunk <= 9; ++chunk) {
            JournalledLink h;
            QByteArray reply = prefix;
            reply.insert(nulAt, QByteArray(nulAt % 2 ? 2 : 1, '\0'));
            reply += "9876\r\nOK\r\n";
            h.panel.setResponder([&](const QByteArray &) { return reply; });
            h.panel.setChunkSize(chunk);
            ASSERT_TRUE(h.link.TogglePort());
            // The exchange sees the PIN record...
            EXPECT_TRUE(h.link.ReadCompare("0000", "9876")) << "NUL at " << nulAt << ", chunks of " << chunk;
            h.port.close();
            // ... and the journal does not.
            const QByteArray journal = h.journal.contents();
            const QByteArray received = receivedText(journal);
            EXPECT_TRUE(received.contains("[PIN]\\r\\nOK")) << "NUL at " << nulAt << ", chunks of " << chunk
                                                            << "\n" << journal.constData();
            EXPECT_FALSE(received.contains('9')) << journal.constData();
        }
    }
}

TEST(TrafficJournalTest, KeepsTheLastTenSessions)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("state/corvalen-pro/journal"));
    SteppingClock clock;
    QStringList made;
    for (int session = 0; session < 12; ++session) {
        clock.now = clock.now.addSecs(60);
        TrafficJournal journal(folder, std::ref(clock));
        journal.note(QStringLiteral("open"));
        journal.flush();
        made << QFileInfo(journal.fileName()).fileName();
    }
    EXPECT_EQ(made[0], QStringLiteral("session-20240506-140407-100.log"));
    const QStringList kept = QDir(folder).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(kept, made.mid(2));
    // A clock set back does not make this session the one dropped.
    clock.now = clock.now.addYears(-1);
    TrafficJournal older(folder, std::ref(clock));
    older.note(QStringLiteral("open"));
    EXPECT_TRUE(QFile::exists(older.fileName()));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), TrafficJournal::kSessionsKept);
}

// Programs started together (a nightly job's sites) start their sessions in
// the same millisecond: each claims a name of its own and none is refused.
TEST(TrafficJournalTest, SessionsStartedAtOnceByManyProgramsEachGetAFile)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("journal"));
    const QDateTime same(QDate(2024, 5, 6), QTime(14, 3, 7, 100));
    constexpr int kPrograms = 6;
    constexpr int kSessions = 5;
    QList<pid_t> children;
    for (int p = 0; p < kPrograms; ++p) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int failed = 0;
            QList<TrafficJournal *> open; // kept open, as running programs keep them
            for (int s = 0; s < kSessions; ++s) {
                auto *journal = new TrafficJournal(folder, [same] { return same; });
                journal->note(QStringLiteral("open"));
                failed += journal->fileName().isEmpty() || !journal->error().isEmpty();
                open << journal;
            }
            _exit(failed);
        }
        children << pid;
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a session was refused its journal";
    }
}

TEST(TrafficJournalTest, AJournalThatCannotBeWrittenLeavesTheLinkAlone)
{
    VirtualClock time;
    VirtualWaiter waiter{time};
    VirtualScheduler scheduler{time};
    FakePanelPort panel{scheduler};
    panel.setResponder([](const QByteArray &) { return QByteArray("\r\nOK\r\n"); });
    RecordingStatus status;
    RecordingPrompt prompt;
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SteppingClock clock;
    TrafficJournal broken(dir.filePath(QStringLiteral("blocked/journal")), std::ref(clock));
    JournalSerialPort port(panel, broken);
    CommandExchange link(port, waiter, status, prompt);
    ASSERT_TRUE(link.TogglePort());
    link.WriteDirect("a1234\r");
    waiter.pump(100);
    EXPECT_TRUE(link.state().rx.ReplyOk);
    EXPECT_EQ(panel.commands().last(), QByteArray("a1234"));
    EXPECT_TRUE(broken.error().contains(QStringLiteral("Cannot create the journal folder")));
    EXPECT_TRUE(broken.fileName().isEmpty());
}

TEST(TrafficJournalTest, RecordsWaitInTheBufferUntilAFlushOrTheClose)
{
    JournalledLink h;
    ASSERT_TRUE(h.link.TogglePort());
    h.link.WriteDirect("x\r");
    QFile file(h.journal.fileName());
    ASSERT_TRUE(file.exists());
    EXPECT_EQ(file.size(), 0); // nothing written at the moment of sending
    h.port.close();
    EXPECT_TRUE(file.size() > 0);
}

// The journal's own clock reads the local wall time, the zone's offset
// included, and its stamps have the journal's shape.
TEST(TrafficJournalClockTest, LocalClockShowsTheLocalWallTime)
{
    const TrafficJournal::Clock clock = TrafficJournal::localClock();
    const QDateTime local = QDateTime::currentDateTime();
    const QDateTime stamped = clock();
    const QDateTime wall(local.date(), local.time(), Qt::UTC);
    EXPECT_LE(std::abs(wall.msecsTo(stamped)), 2000) << qPrintable(stamped.toString(Qt::ISODateWithMs));

    QTemporaryDir dir;
    TrafficJournal journal(dir.filePath(QStringLiteral("journal")), [] {
        return QDateTime(QDate(987, 1, 2), QTime(3, 4, 5, 6), Qt::UTC);
    });
    journal.sent("x\r");
    EXPECT_EQ(recordLines(journal.contents()), QList<QByteArray>{"0987-01-02 03:04:05.006 > x\\r"});
}
