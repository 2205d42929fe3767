#include "app/widgets/DiagnosticsCommand.h"
#include "app/widgets/FrameActions.h"
#include "app/widgets/PortMenu.h"
#include "app/widgets/TCorvalenForm.h"
#include "link/JournalSerialPort.h"
#include "link/TrafficJournal.h"
#include "support/FakePanelPort.h"
#include "support/LogOnPanel.h"
#include "support/Recorders.h"
#include "support/ScriptedPin.h"
#include "support/VirtualClock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// The main window with a traffic journal on its port, as the program has it.
struct JournalledForm
{
    QTemporaryDir dir;
    QString previousDir = QDir::currentPath();
    bool inDir = QDir::setCurrent(dir.path());
    VirtualClock clock;
    VirtualWaiter waiter{clock};
    VirtualScheduler scheduler{clock};
    FakePanelPort line{scheduler};
    TrafficJournal journal{dir.filePath(QStringLiteral("journal")),
                           [] { return QDateTime(QDate(2024, 5, 6), QTime(9, 0)); }};
    JournalSerialPort port{line, journal};
    LogOnPanel panel;
    ScriptedPin pin;
    RecordingPrompt prompt;
    DeviceMap devices;
    TCorvalenForm form{port, waiter, devices, &prompt, nullptr, dir.filePath(QStringLiteral("c.conf"))};

    JournalledForm()
    {
        devices.setDevice(3, QStringLiteral("/dev/ttyS0"), DeviceMap::Source::Default);
        panel.attach(line);
        form.setLogOnDialog(&pin);
        form.setJournal(&journal);
        SerialDevice adapter;
        adapter.node = QStringLiteral("/dev/ttyUSB0");
        adapter.byId = QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_A1B2C3-if00-port0");
        adapter.description = QStringLiteral("FT232R USB UART");
        form.diagnostics().setScanner([adapter] { return SerialDevices{adapter}; });
    }
    ~JournalledForm() { QDir::setCurrent(previousDir); }
};

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

TEST(DiagnosticsTest, OneFileHoldsVersionPortDeviceSettingsDevicesAndThisSessionsJournal)
{
    JournalledForm h;
    QCoreApplication::setApplicationVersion(QStringLiteral("7.1"));
    h.pin.answers << QByteArray("1234");
    h.form.connection().OnLine1Click();
    ASSERT_TRUE(h.form.link().conn().LoggedOn);
    h.form.connection().OnLine1Click(); // log off

    const QString target = h.dir.filePath(QStringLiteral("diag.txt"));
    h.form.diagnostics().setFileChooser([&] { return target; });
    h.form.actions().SaveDiagnostics->trigger();
    const QByteArray text = readAll(target);
    EXPECT_TRUE(text.startsWith("Corvalen-Pro diagnostics\nVersion: 7.1\n")) << text.constData();
    EXPECT_TRUE(text.contains("\nPort: COM2\nDevice: /dev/ttyUSB1\n")) << text.constData();
    EXPECT_TRUE(text.contains("Line: 57600 baud, 8 data bits, no parity, 1 stop bit")) << text.constData();
    EXPECT_TRUE(text.contains("  COM3 /dev/ttyS0 (default)\n")) << text.constData();
    EXPECT_TRUE(text.contains(("Settings file: " + h.dir.filePath(QStringLiteral("c.conf"))).toUtf8()));
    EXPECT_TRUE(text.contains("Serial devices present: 1\n  /dev/ttyUSB0; by-id /dev/serial/by-id/usb-FTDI"));
    EXPECT_TRUE(text.contains(("Traffic journal: " + h.journal.fileName()).toUtf8())) << text.constData();
    EXPECT_TRUE(text.contains("2024-05-06 09:00:00.000 > a[PIN]\\r\n")) << text.constData();
    EXPECT_TRUE(text.contains("Corvalen_1000_Xarn")) << text.constData();
    EXPECT_FALSE(text.contains("1234")) << text.constData();
    EXPECT_EQ(QFile(target).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup), 0);

    // A place that cannot be written says so and leaves nothing behind.
    const QString bad = h.dir.filePath(QStringLiteral("no/such/folder/diag.txt"));
    EXPECT_FALSE(h.form.diagnostics().save(bad));
    ASSERT_FALSE(h.prompt.messages.isEmpty());
    EXPECT_EQ(h.prompt.messages.last(), QStringLiteral("Cannot create file %1").arg(bad));
}

TEST(DiagnosticsTest, PortItemsShowTheirDeviceAndFollowAChange)
{
    JournalledForm h;
    PortMenu &menu = h.form.portMenu();
    EXPECT_EQ(menu.item(2)->text(), QStringLiteral("Comm2"));
    EXPECT_EQ(menu.item(2)->toolTip(), QStringLiteral("/dev/ttyUSB1"));
    EXPECT_EQ(menu.item(2)->statusTip(), QStringLiteral("Use COM2 on /dev/ttyUSB1"));
    QString message;
    h.form.deviceChoice().choose(2, QStringLiteral("tcp://gateway:4001"), &message);
    EXPECT_EQ(menu.item(2)->text(), QStringLiteral("Comm2"));
    EXPECT_EQ(menu.item(2)->toolTip(), QStringLiteral("tcp://gateway:4001"));
    EXPECT_EQ(menu.item(2)->statusTip(), QStringLiteral("Use COM2 on tcp://gateway:4001"));
    EXPECT_EQ(menu.deviceItem()->text(), QStringLiteral("Device..."));
    // The next log-on goes where the port now points: the journal's open line says so.
    EXPECT_EQ(h.devices.deviceForPortName(h.port.portName()), QStringLiteral("tcp://gateway:4001"));
}
