#include "link/ByIdNames.h"
#include "link/DeviceAccess.h"
#include "link/LocalSerialPort.h"
#include "link/SerialDeviceList.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

namespace {
void writeFile(const QString &path, const QByteArray &content = {})
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

void link(const QString &target, const QString &name)
{
    QDir().mkpath(QFileInfo(name).absolutePath());
    ASSERT_TRUE(QFile::link(target, name)) << name.toStdString();
}

// A small machine in a folder: /dev nodes as plain files, sysfs as folders
// and links, /dev/serial/by-id, lock folder and /proc.
struct FakeMachine
{
    QTemporaryDir root;
    QString path(const QString &p) const { return root.filePath(p); }

    SerialDeviceList::Sources sources() const
    {
        SerialDeviceList::Sources s;
        s.ttyClass = path(QStringLiteral("sys/class/tty"));
        s.devFolder = path(QStringLiteral("dev"));
        s.byIdFolder = path(QStringLiteral("dev/serial/by-id"));
        s.access.locks = {path(QStringLiteral("lock"))};
        s.access.proc = path(QStringLiteral("proc"));
        return s;
    }

    void usbAdapter(const QString &tty, const QString &usb, const QByteArray &product, const QByteArray &maker,
                    const QByteArray &serial)
    {
        const QString device = path(QStringLiteral("sys/devices/usb1/%1").arg(usb));
        writeFile(device + QStringLiteral("/idVendor"), "0403\n");
        writeFile(device + QStringLiteral("/product"), product + '\n');
        writeFile(device + QStringLiteral("/manufacturer"), maker + '\n');
        writeFile(device + QStringLiteral("/serial"), serial + '\n');
        QDir().mkpath(device + QStringLiteral("/%1:1.0/%2").arg(usb, tty));
        link(device + QStringLiteral("/%1:1.0/%2").arg(usb, tty), path(QStringLiteral("sys/class/tty/%1/device").arg(tty)));
        writeFile(path(QStringLiteral("dev/") + tty));
    }

    void uart(const QString &tty, const QByteArray &type)
    {
        QDir().mkpath(path(QStringLiteral("sys/devices/platform/serial8250/") + tty));
        link(path(QStringLiteral("sys/devices/platform/serial8250/") + tty),
             path(QStringLiteral("sys/class/tty/%1/device").arg(tty)));
        writeFile(path(QStringLiteral("sys/class/tty/%1/type").arg(tty)), type + '\n');
        writeFile(path(QStringLiteral("dev/") + tty));
    }

    void process(qint64 pid, const QByteArray &name, const QString &openFile = {})
    {
        writeFile(path(QStringLiteral("proc/%1/comm").arg(pid)), name + '\n');
        QDir().mkpath(path(QStringLiteral("proc/%1/fd").arg(pid)));
        if (!openFile.isEmpty())
            link(openFile, path(QStringLiteral("proc/%1/fd/3").arg(pid)));
    }
};
} // namespace

TEST(ByIdNamesTest, ResolvesTheLinksToTheirNodesAndIgnoresDanglingOnes)
{
    FakeMachine m;
    writeFile(m.path(QStringLiteral("dev/ttyUSB0")));
    writeFile(m.path(QStringLiteral("dev/ttyACM0")));
    const QString byId = m.path(QStringLiteral("dev/serial/by-id"));
    link(QStringLiteral("../../ttyUSB0"), byId + QStringLiteral("/usb-FTDI_FT232R_A1B2-if00-port0"));
    link(QStringLiteral("../../ttyACM0"), byId + QStringLiteral("/usb-Acme_Panel_Link_77-if00"));
    link(QStringLiteral("../../ttyUSB9"), byId + QStringLiteral("/usb-Gone_Adapter-if00-port0"));
    // A node reached through a link of its own still finds its name.
    link(m.path(QStringLiteral("dev/ttyUSB0")), m.path(QStringLiteral("alias")));

    const ByIdNames names(byId);
    EXPECT_EQ(names.size(), 2);
    EXPECT_EQ(names.nameOf(m.path(QStringLiteral("dev/ttyUSB0"))), byId + QStringLiteral("/usb-FTDI_FT232R_A1B2-if00-port0"));
    EXPECT_EQ(names.nameOf(m.path(QStringLiteral("alias"))), byId + QStringLiteral("/usb-FTDI_FT232R_A1B2-if00-port0"));
    EXPECT_EQ(names.nameOf(m.path(QStringLiteral("dev/ttyACM0"))), byId + QStringLiteral("/usb-Acme_Panel_Link_77-if00"));
    EXPECT_TRUE(names.nameOf(m.path(QStringLiteral("dev/ttyUSB9"))).isEmpty());
    EXPECT_EQ(ByIdNames(m.path(QStringLiteral("no/such/folder"))).size(), 0);
}

TEST(SerialDeviceListTest, ListsAdaptersAndRealUartsWithWhatTheSystemSaysAboutThem)
{
    FakeMachine m;
    m.usbAdapter(QStringLiteral("ttyUSB0"), QStringLiteral("1-2"), "FT232R USB UART", "FTDI", "A1B2C3");
    m.usbAdapter(QStringLiteral("ttyACM0"), QStringLiteral("1-3"), "Panel Link", "Acme", "77");
    m.uart(QStringLiteral("ttyS0"), "4");
    m.uart(QStringLiteral("ttyS1"), "0"); // an empty slot of the UART driver
    QDir().mkpath(m.path(QStringLiteral("sys/class/tty/tty1")));  // a console: no device behind it
    link(QStringLiteral("../../ttyUSB0"), m.path(QStringLiteral("dev/serial/by-id/usb-FTDI_FT232R_A1B2C3-if00-port0")));

    const SerialDevices devices = SerialDeviceList(m.sources()).scan();
    ASSERT_EQ(devices.size(), 3);
    EXPECT_EQ(devices[0].node, m.path(QStringLiteral("dev/ttyACM0")));
    EXPECT_EQ(devices[0].description, QStringLiteral("Panel Link"));
    EXPECT_EQ(devices[0].manufacturer, QStringLiteral("Acme"));
    EXPECT_TRUE(devices[0].byId.isEmpty());
    EXPECT_EQ(devices[0].preferredName(), devices[0].node);
    EXPECT_EQ(devices[1].node, m.path(QStringLiteral("dev/ttyS0")));
    EXPECT_TRUE(devices[1].description.isEmpty());
    EXPECT_EQ(devices[2].node, m.path(QStringLiteral("dev/ttyUSB0")));
    EXPECT_EQ(devices[2].serialNumber, QStringLiteral("A1B2C3"));
    EXPECT_EQ(devices[2].preferredName(),
              m.path(QStringLiteral("dev/serial/by-id/usb-FTDI_FT232R_A1B2C3-if00-port0")));
    // What the diagnostics say of it: the machine's own names, in order.
    EXPECT_EQ(SerialDeviceList::toText(devices[2]).toStdString(),
              (m.path(QStringLiteral("dev/ttyUSB0")) + QStringLiteral("; by-id ")
               + m.path(QStringLiteral("dev/serial/by-id/usb-FTDI_FT232R_A1B2C3-if00-port0"))
               + QStringLiteral("; FT232R USB UART; FTDI; serial number A1B2C3"))
                  .toStdString());
}

TEST(DeviceAccessTest, ADeviceHeldByAnotherProgramIsFoundByItsLockFileOrItsOpenFiles)
{
    FakeMachine m;
    const QString usb0 = m.path(QStringLiteral("dev/ttyUSB0"));
    const QString usb1 = m.path(QStringLiteral("dev/ttyUSB1"));
    const QString acm0 = m.path(QStringLiteral("dev/ttyACM0"));
    const QString s0 = m.path(QStringLiteral("dev/ttyS0"));
    for (const QString &node : {usb0, usb1, acm0, s0})
        writeFile(node);
    m.process(4242, "minicom");
    writeFile(m.path(QStringLiteral("lock/LCK..ttyUSB0")), "      4242\n");           // text, as most write it
    writeFile(m.path(QStringLiteral("lock/LCK..ttyUSB1")), "999\nqtapp\nhost\n");     // its process is gone
    m.process(77, "picocom", acm0);
    const qint64 self = QCoreApplication::applicationPid();
    m.process(self, "test_link", s0); // this program itself does not count

    const QHash<QString, QString> held =
        DeviceAccess(m.sources().access).holders({usb0, usb1, acm0, s0});
    EXPECT_EQ(held.value(usb0), QStringLiteral("In use by minicom (process 4242)"));
    EXPECT_EQ(held.value(acm0), QStringLiteral("In use by picocom (process 77)"));
    EXPECT_FALSE(held.contains(usb1));
    EXPECT_FALSE(held.contains(s0));
}

TEST(DeviceAccessTest, NoPermissionSaysWhichGroupToJoinAndHowToMakeItCount)
{
    EXPECT_EQ(DeviceAccess::permissionMessage(QStringLiteral("dialout"), false),
              QStringLiteral("No permission: add yourself to the dialout group (sudo adduser $USER dialout), "
                             "then log in again"));
    EXPECT_TRUE(DeviceAccess::permissionMessage(QStringLiteral("dialout"), true).contains(QStringLiteral("log out and in again")));
    EXPECT_TRUE(DeviceAccess::permissionMessage(QStringLiteral("uucp"), false).contains(QStringLiteral("adduser $USER uucp")));
    EXPECT_TRUE(DeviceAccess::permissionMessage(QStringLiteral("root"), false).contains(QStringLiteral("administrator")));
    // A device this user may open has no problem to report.
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("tty")));
    EXPECT_TRUE(DeviceAccess::permissionProblem(dir.filePath(QStringLiteral("tty"))).isEmpty());
}

// An open refused as a permission error: the serial port library says so
// also for a device another program holds, and to root as well. The advice
// follows what is really in the way.
TEST(DeviceAccessTest, AnOpenRefusedForAHeldDeviceNamesTheProgramNotAGroup)
{
    FakeMachine m;
    const QString usb0 = m.path(QStringLiteral("dev/ttyUSB0"));
    const QString usb1 = m.path(QStringLiteral("dev/ttyUSB1"));
    writeFile(usb0);
    writeFile(usb1);
    m.process(4242, "minicom");
    writeFile(m.path(QStringLiteral("lock/LCK..ttyUSB0")), "4242\n");
    const DeviceAccess access(m.sources().access);

    const QString held = access.openRefusal(usb0);
    EXPECT_TRUE(held.startsWith(QStringLiteral("In use by minicom (process 4242): another program holds the port")))
        << held.toStdString();
    EXPECT_FALSE(held.contains(QStringLiteral("dialout")));
    // Nobody to be seen, and the user may open it: busy all the same.
    const QString busy = access.openRefusal(usb1);
    EXPECT_TRUE(busy.startsWith(QStringLiteral("The device is busy"))) << busy.toStdString();
    EXPECT_FALSE(busy.contains(QStringLiteral("group")));
}

// The same through the program's own port: a pseudo-terminal that another
// process holds under the serial port library's lock file.
TEST(DeviceAccessTest, APortHeldByAnotherProcessIsReportedAsHeld)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const QString node = QString::fromLocal8Bit(ptsname(master));

    // The first lock folder the library can use (the one it would pick).
    QString lockFile;
    for (const char *folder : {"/var/lock", "/etc/locks", "/var/spool/locks", "/var/spool/uucp", "/tmp"}) {
        const QFileInfo info(QString::fromLatin1(folder));
        if (info.isDir() && info.isReadable() && info.isWritable()) {
            lockFile = QDir(info.filePath()).filePath(QStringLiteral("LCK..") + node.mid(5).replace('/', '_'));
            break;
        }
    }
    if (lockFile.isEmpty()) {
        ::close(master);
        GTEST_SKIP() << "no lock folder can be written here";
    }
    QProcess holder;
    holder.setStandardInputFile(node);
    holder.start(QStringLiteral("sleep"), {QStringLiteral("30")});
    ASSERT_TRUE(holder.waitForStarted());
    const qint64 pid = holder.processId();
    writeFile(lockFile, QByteArray::number(pid) + "\nsleep\n" + QSysInfo::machineHostName().toLocal8Bit()
                            + '\n');

    LocalSerialPort port(node);
    QString error;
    const bool opened = port.open(&error);
    QFile::remove(lockFile);
    holder.kill();
    holder.waitForFinished(2000);
    ::close(master);

    EXPECT_FALSE(opened);
    EXPECT_TRUE(error.contains(QStringLiteral("In use by sleep (process %1)").arg(pid))
                || error.contains(QStringLiteral("another program holds the port")))
        << error.toStdString();
    EXPECT_FALSE(error.contains(QStringLiteral("dialout"))) << error.toStdString();
}
