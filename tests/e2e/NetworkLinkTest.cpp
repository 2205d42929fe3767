// The whole main window on the virtual panel through a serial server:
// tcp:// to the panel's own TCP port (raw), and rfc2217:// to ser2net in
// front of the panel's pseudo-terminal. The program's port is the one it
// always uses (SystemSerialPort); only the device text differs. Where a test
// asks for it (skipAhead), the waits skip ahead whenever the line is settled;
// otherwise they take real time.
#include "PtyPanelServer.h"
#include "TcpPanelServer.h"
#include "app/widgets/FrameStatusBar.h"
#include "app/widgets/TCorvalenForm.h"
#include "directory/PhoneFields.h"
#include "directory/widgets/PhonePage.h"
#include "link/DeviceMap.h"
#include "link/SystemSerialPort.h"
#include "parameters/ParameterControls.h"
#include "parameters/ParameterRecords.h"
#include "parameters/widgets/SystemPage.h"
#include "support/CountingSerialPort.h"
#include "support/Recorders.h"
#include "support/ScriptedPin.h"
#include "support/Ser2net.h"
#include "support/SkippingWaiter.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

QByteArray ff(int n)
{
    return QByteArray(n, char(0xFF));
}

QByteArray entryText(int i)
{
    return QByteArray::number(100 + i) + ",1234,,,0211:;<" + QByteArray::number(i % 10) + ",Resident "
           + QByteArray::number(i);
}

enum class Transport { Tcp, Rfc2217 };

// Counts the ticks of a 50 ms timer: the window's events go on meanwhile.
struct Heartbeat
{
    QTimer timer;
    int beats = 0;
    Heartbeat()
    {
        timer.setInterval(50);
        QObject::connect(&timer, &QTimer::timeout, [this] { ++beats; });
        timer.start();
    }
};

struct WindowOverNetwork : ::testing::Test
{
    QTemporaryDir dir;
    QString previousDir = QDir::currentPath();
    PanelEngine engine;
    std::unique_ptr<PanelServer> server;
    std::unique_ptr<Ser2net> ser2net;
    DeviceMap devices;
    SystemSerialPort port{devices};
    CountingSerialPort counted{port};
    std::unique_ptr<PanelLineWatch> line;
    SkippingWaiter waiter;
    RecordingPrompt prompt;
    RecordingStatus status;
    ScriptedPin pin;
    std::unique_ptr<TCorvalenForm> form;

    WindowOverNetwork() { QDir::setCurrent(dir.path()); }
    ~WindowOverNetwork() override
    {
        form.reset();
        waiter.setSettled({});
        QDir::setCurrent(previousDir);
    }

    // The panel behind a serial server of the given kind, as COM2.
    void serve(Transport transport)
    {
        QString error;
        if (transport == Transport::Tcp) {
            server = std::make_unique<TcpPanelServer>(engine, QHostAddress::LocalHost, 0);
            server->setPacing(false);
            ASSERT_TRUE(server->open(&error)) << qPrintable(error);
            devices.setDevice(2, server->devicePath());
        } else {
            if (Ser2net::program().isEmpty())
                GTEST_SKIP() << "ser2net is not installed (scripts/install-deps.sh installs it)";
            server = std::make_unique<PtyPanelServer>(engine);
            server->setPacing(false);
            ASSERT_TRUE(server->open(&error)) << qPrintable(error);
            ser2net = std::make_unique<Ser2net>();
            ASSERT_TRUE(ser2net->start(server->devicePath(), &error)) << qPrintable(error);
            devices.setDevice(2, ser2net->url());
        }
        makeForm();
    }
    // From now on the waits skip ahead whenever the line to the panel is settled.
    void skipAhead()
    {
        line = std::make_unique<PanelLineWatch>(counted, *server);
        waiter.setSettled([this] { return line->settled(); });
    }
    void makeForm()
    {
        form = std::make_unique<TCorvalenForm>(counted, waiter, devices, &prompt);
        form->setLogOnDialog(&pin);
    }
    bool logOn()
    {
        pin.answers << QByteArray("1234");
        form->connection().OnLine1Click();
        return form->link().conn().LoggedOn;
    }
    void click(QWidget *page, const char *name)
    {
        auto *button = page->findChild<QAbstractButton *>(QLatin1String(name));
        ASSERT_NE(button, nullptr) << name;
        ASSERT_TRUE(button->isEnabled()) << name;
        button->click();
    }
    Table &table() { return form->context().directory.PhoneTable; }
    QString messages() const { return prompt.messages.join(QLatin1Char('|')); }

    // Download, parameters both ways, upload: everything a user does.
    void runEverything();
};

void WindowOverNetwork::runEverything()
{
    for (int r = 128; r <= 1152; ++r)
        engine.memory().setRecord(r, entryText(r - 128));
    engine.memory().setRecord(6, QByteArray("1111") + ff(4) + QByteArray("33") + ff(22));
    engine.memory().setRecord(10, QByteArray("0800;") + ff(11) + QByteArray("<<9") + ff(13));
    ASSERT_TRUE(logOn()) << qPrintable(messages());

    // The whole directory of a 1000 model.
    click(form->phonePage(), "GetData");
    EXPECT_TRUE(prompt.messages.isEmpty()) << qPrintable(messages());
    ASSERT_EQ(table().count(), 1025);
    EXPECT_EQ(table().value(1024, PhoneFields::Addr), QByteArray("9000"));
    EXPECT_EQ(table().value(1024, PhoneFields::Name), QByteArray("Resident 1024"));
    EXPECT_EQ(table().value(0, PhoneFields::PHnumber), QByteArray("0211*#p0"));
    EXPECT_TRUE(form->link().conn().DirectorySynced);

    // Read All, a change, Write All: the records filled with 0xFF come back
    // byte for byte.
    form->PbuttClick();
    SystemPage *page = form->systemPage();
    click(page, "ReadAll");
    ParameterControls &controls = page->controls();
    EXPECT_EQ(controls.text(ParamEdit::code_g1), QByteArray("1111"));
    EXPECT_EQ(controls.text(ParamEdit::code_ic1), QByteArray("33"));
    EXPECT_EQ(controls.text(ParamEdit::spd7), QByteArray("0800#"));
    EXPECT_EQ(controls.text(ParamEdit::spd8), QByteArray("pp9"));
    controls.setText(ParamEdit::code_g2, "2468");
    controls.setText(ParamEdit::msg0, "Over the network");
    click(page, "WriteAll");
    EXPECT_TRUE(prompt.messages.isEmpty()) << qPrintable(messages());
    EXPECT_EQ(engine.memory().record(6), QByteArray("11112468") + QByteArray("33") + ff(22));
    EXPECT_EQ(engine.memory().record(10), QByteArray("0800;") + ff(11) + QByteArray("<<9") + ff(13));
    EXPECT_EQ(engine.memory().record(7), ParameterRecords::EncodeSpeedDials(controls, 7));
    EXPECT_EQ(engine.memory().record(2).left(16), QByteArray("Over the network"));

    // A new directory of twenty residents replaces the panel's.
    form->PHButClick();
    {
        Table::ControlsPause quiet(table());
        table().emptyTable();
        for (int i = 0; i < 20; ++i)
            table().appendRecord({"Resident " + QByteArray::number(i), QByteArray::number(100 + i), "0211*#p",
                                  "1234", "", "", "", ""});
    }
    click(form->phonePage(), "WriteData");
    EXPECT_TRUE(prompt.messages.isEmpty()) << qPrintable(messages());
    EXPECT_EQ(engine.memory().usedDirectorySlots(), 20);
    EXPECT_EQ(engine.memory().record(128), QByteArray("100,1234,,,0211:;<,Resident 0"));
    EXPECT_TRUE(form->link().conn().DirectorySynced);

    form->connection().OnLine1Click(); // log off
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(form->link().conn().LoggedOn);
}

} // namespace

TEST_F(WindowOverNetwork, EverythingThroughARawTcpServer)
{
    serve(Transport::Tcp);
    skipAhead();
    runEverything();
}

// Telnet escapes the byte 0xFF: a record filled with it goes out and comes
// back byte for byte.
TEST_F(WindowOverNetwork, LogOnDownloadAndARecordOfFFBytesThroughSer2netWithRfc2217)
{
    serve(Transport::Rfc2217);
    if (IsSkipped())
        return;
    skipAhead();
    for (int r = 128; r <= 1152; ++r)
        engine.memory().setRecord(r, entryText(r - 128));
    engine.memory().setRecord(6, QByteArray("1111") + ff(4) + QByteArray("33") + ff(22));
    ASSERT_TRUE(logOn()) << qPrintable(messages());

    click(form->phonePage(), "GetData");
    EXPECT_TRUE(prompt.messages.isEmpty()) << qPrintable(messages());
    ASSERT_EQ(table().count(), 1025);
    EXPECT_EQ(table().value(1024, PhoneFields::Name), QByteArray("Resident 1024"));

    form->PbuttClick();
    SystemPage *page = form->systemPage();
    click(page, "ReadCode");
    ParameterControls &controls = page->controls();
    EXPECT_EQ(controls.text(ParamEdit::code_g1), QByteArray("1111"));
    EXPECT_EQ(controls.text(ParamEdit::code_g2), QByteArray(""));
    EXPECT_EQ(controls.text(ParamEdit::code_ic1), QByteArray("33"));
    controls.setText(ParamEdit::code_g2, "2468");
    click(page, "WriteCode");
    EXPECT_TRUE(prompt.messages.isEmpty()) << qPrintable(messages());
    EXPECT_EQ(engine.memory().record(6), QByteArray("11112468") + QByteArray("33") + ff(22));

    form->connection().OnLine1Click(); // log off
    EXPECT_FALSE(port.isOpen());
}

TEST_F(WindowOverNetwork, ARefusedConnectionOrOneThatNeverComesSaysSerialCommunicationErrorAndWhy)
{
    quint16 closed = 0;
    {
        QTcpServer gone;
        gone.listen(QHostAddress::LocalHost, 0);
        closed = gone.serverPort();
    }
    devices.setDevice(2, QStringLiteral("tcp://127.0.0.1:%1").arg(closed));
    makeForm();
    EXPECT_FALSE(logOn());
    ASSERT_EQ(prompt.messages.size(), 1);
    EXPECT_TRUE(prompt.messages.first().startsWith(
        QStringLiteral("Serial Communication Error\r\nCOM2 (tcp://127.0.0.1:%1): connection refused\r\n").arg(closed)))
        << qPrintable(messages());
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(form->connection().onLineCaption(), QStringLiteral("Log On"));

    // A server whose queue is full never answers the connection.
    QTcpServer full;
    full.setListenBacklogSize(0);
    full.listen(QHostAddress::LocalHost, 0);
    full.pauseAccepting();
    QTcpSocket filler;
    filler.connectToHost(QHostAddress::LocalHost, full.serverPort());
    ASSERT_TRUE(filler.waitForConnected(1000));
    devices.setDevice(2, QStringLiteral("tcp://127.0.0.1:%1").arg(full.serverPort()));
    port.setConnectTimeoutMs(1000);
    prompt.messages.clear();
    Heartbeat heart;
    EXPECT_FALSE(logOn());
    ASSERT_EQ(prompt.messages.size(), 1);
    EXPECT_TRUE(prompt.messages.first().contains(QStringLiteral("): timed out\r\n"))) << qPrintable(messages());
    EXPECT_GE(heart.beats, 10); // the window went on while the port waited
    EXPECT_FALSE(form->link().conn().LoggedOn);
}

TEST_F(WindowOverNetwork, AServerThatNeverSpeaksIsASilentPanel)
{
    QTcpServer silent; // takes the connection, answers nothing
    silent.listen(QHostAddress::LocalHost, 0);
    devices.setDevice(2, QStringLiteral("tcp://127.0.0.1:%1").arg(silent.serverPort()));
    makeForm();
    Heartbeat heart;
    EXPECT_FALSE(logOn());
    EXPECT_EQ(prompt.messages, QStringList{QStringLiteral("No Reponse from Corvalen")});
    EXPECT_GE(heart.beats, 20);
    EXPECT_FALSE(port.isOpen());
}

TEST_F(WindowOverNetwork, AConnectionThatDropsMidDownloadIsALostLine)
{
    serve(Transport::Tcp);
    server->setPacing(true); // about nine seconds of directory at 57600 baud
    for (int r = 128; r <= 1152; ++r)
        engine.memory().setRecord(r, entryText(r - 128));
    ASSERT_TRUE(logOn()) << qPrintable(messages());
    auto *tcp = static_cast<TcpPanelServer *>(server.get());
    QTimer::singleShot(1000, tcp, [tcp] { tcp->dropProgram(); });
    Heartbeat heart;
    click(form->phonePage(), "GetData");

    // The table holds the part that arrived: the message says it is a
    // fragment, and nothing takes it for the panel's directory.
    ASSERT_EQ(prompt.messages.size(), 1);
    EXPECT_EQ(prompt.messages[0],
              QStringLiteral("communication error\r\nThe download was cut short: the table holds the %1 entries "
                             "that arrived,\r\nnot the Corvalen's whole phone list.")
                  .arg(table().count()));
    EXPECT_TRUE(form->statusSink().statusText().startsWith(
        QStringLiteral("Connection lost: COM2 (%1): ").arg(server->devicePath())))
        << qPrintable(form->statusSink().statusText());
    EXPECT_FALSE(form->link().conn().LoggedOn);
    EXPECT_FALSE(form->link().conn().DirectorySynced);
    EXPECT_FALSE(form->phonePage()->findChild<QCheckBox *>(QStringLiteral("WrtChg"))->isEnabled());
    EXPECT_GT(table().count(), 0);
    EXPECT_LT(table().count(), 1025);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(form->connection().onLineCaption(), QStringLiteral("Log On"));
    EXPECT_GE(heart.beats, 40);

    // Back on line, the next WriteAllData question compares the fragment
    // with what the panel holds: every resident that did not arrive would go.
    const int fragment = table().count();
    server->setPacing(false);
    form->enableBackups(dir.filePath(QStringLiteral("backups")));
    ASSERT_TRUE(logOn()) << qPrintable(messages());
    prompt.answers = {false};
    click(form->phonePage(), "WriteData");
    ASSERT_EQ(prompt.details.size(), 1);
    EXPECT_TRUE(prompt.details[0].startsWith(
        QStringLiteral("0 added, %1 removed, 0 changed, %2 unchanged").arg(1025 - fragment).arg(fragment)))
        << qPrintable(prompt.details[0].left(200));
    EXPECT_EQ(engine.memory().usedDirectorySlots(), 1025);
}
