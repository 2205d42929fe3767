#include "link/widgets/DeviceDialog.h"
#include "support/AccessibleNames.h"
#include "support/Screenshot.h"

#include <QLabel>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

namespace {
SerialDevice device(const QString &node, const QString &byId = {}, const QString &problem = {})
{
    SerialDevice d;
    d.node = node;
    d.byId = byId;
    d.description = QStringLiteral("FT232R USB UART");
    d.manufacturer = QStringLiteral("FTDI");
    d.serialNumber = QStringLiteral("A1B2C3");
    d.noPermission = problem;
    return d;
}

struct DialogHarness
{
    QTemporaryDir dir;
    QString settingsFile = dir.filePath(QStringLiteral("corvalen-pro.conf"));
    DeviceMap map;
    DeviceChoice choice{map, PortSettings(settingsFile)};
    SerialDevices present{
        device(QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_A1B2C3-if00-port0")),
        device(QStringLiteral("/dev/ttyACM0"), {},
               QStringLiteral("No permission: add yourself to the dialout group (sudo adduser $USER dialout), "
                              "then log in again"))};
    DeviceDialog dialog{choice, 2, [this] { return present; }};

    QTreeWidgetItem *row(const QString &node) const
    {
        for (int i = 0; i < dialog.deviceList()->topLevelItemCount(); ++i)
            if (dialog.deviceList()->topLevelItem(i)->text(1) == node)
                return dialog.deviceList()->topLevelItem(i);
        return nullptr;
    }
};
} // namespace

TEST(DeviceDialogTest, ABadEntryIsRefusedInTheDialogWithItsReason)
{
    DialogHarness h;
    h.dialog.show();
    for (const auto &[text, says] : {std::pair{"", "No device given"}, std::pair{"tcp://gw", "has no port"},
                                     std::pair{"rfc2217://gw:0", "out of range"}}) {
        h.dialog.deviceEdit()->setText(QLatin1String(text));
        h.dialog.accept();
        EXPECT_TRUE(h.dialog.isVisible()) << text;
        EXPECT_EQ(h.dialog.result(), QDialog::Rejected);
        EXPECT_FALSE(h.dialog.problemLabel()->isHidden()) << text;
        EXPECT_TRUE(h.dialog.problemLabel()->text().contains(QLatin1String(says)))
            << h.dialog.problemLabel()->text().toStdString();
    }
    EXPECT_EQ(h.map.device(2), DeviceMap::defaultDevice(2));
    EXPECT_FALSE(QFile::exists(h.settingsFile));

    h.dialog.deviceEdit()->setText(QStringLiteral("rfc2217://[fe80::1]:4001"));
    h.dialog.accept();
    EXPECT_EQ(h.dialog.result(), QDialog::Accepted);
    EXPECT_EQ(h.map.device(2), QStringLiteral("rfc2217://[fe80::1]:4001"));
    EXPECT_EQ(PortSettings(h.settingsFile).device(2), QStringLiteral("rfc2217://[fe80::1]:4001"));
    EXPECT_TRUE(h.dialog.outcome().contains(QStringLiteral("COM2 now stands for")));
}

TEST(DeviceDialogTest, ListsTheDevicesWithTheirProblemsAndKeepsTheSelectionThroughRefreshes)
{
    DialogHarness h;
    QTreeWidgetItem *usb = h.row(QStringLiteral("/dev/ttyUSB0"));
    ASSERT_TRUE(usb);
    EXPECT_EQ(usb->text(0), QStringLiteral("usb-FTDI_FT232R_A1B2C3-if00-port0"));
    EXPECT_EQ(usb->text(5), QStringLiteral("Ready"));
    EXPECT_TRUE(h.row(QStringLiteral("/dev/ttyACM0"))->text(5).contains(QStringLiteral("dialout group")));
    EXPECT_EQ(h.dialog.notesLabel()->text(),
              QStringLiteral("/dev/ttyACM0: No permission: add yourself to the dialout group (sudo adduser $USER "
                             "dialout), then log in again"));

    usb->setSelected(true);
    h.dialog.deviceList()->setCurrentItem(usb);
    EXPECT_EQ(h.dialog.deviceEdit()->text(), QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_A1B2C3-if00-port0"));

    // An adapter is plugged in and the busy one goes away: the selection stays.
    h.present.prepend(device(QStringLiteral("/dev/ttyACM1")));
    h.present.removeLast();
    h.present.last().busy = QStringLiteral("In use by minicom (process 4242)");
    h.dialog.deviceEdit()->setText(QStringLiteral("typed"));
    h.dialog.refresh();
    EXPECT_EQ(h.dialog.deviceList()->topLevelItemCount(), 2);
    EXPECT_FALSE(h.row(QStringLiteral("/dev/ttyACM0")));
    QTreeWidgetItem *current = h.dialog.deviceList()->currentItem();
    ASSERT_TRUE(current);
    EXPECT_EQ(current->text(1), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_TRUE(current->isSelected());
    EXPECT_EQ(current->text(5), QStringLiteral("In use by minicom (process 4242)"));
    EXPECT_EQ(h.dialog.deviceEdit()->text(), QStringLiteral("typed")); // a refresh does not overwrite typing
    EXPECT_EQ(h.dialog.notesLabel()->text(), QStringLiteral("/dev/ttyUSB0: In use by minicom (process 4242)"));

    h.present.clear();
    h.dialog.refresh();
    ASSERT_EQ(h.dialog.deviceList()->topLevelItemCount(), 1);
    EXPECT_TRUE(h.dialog.deviceList()->topLevelItem(0)->text(0).startsWith(QStringLiteral("No serial device found")));
}

TEST(DeviceDialogTest, TheListAndTheFieldCanBeFoundByAssistiveTechnology)
{
    DialogHarness h;
    h.dialog.show();
    EXPECT_EQ(listed(unnamedControls(h.dialog)), "");
    EXPECT_EQ(listed(sameNamedControls(h.dialog)), "");
    EXPECT_EQ(listed(editsWithoutLabel(h.dialog)), "");
    EXPECT_EQ(listed(editsNotNamedByTheirLabel(h.dialog)), "");
    // The list is named by the label that has it as its buddy, too.
    const QList<QLabel *> labels = h.dialog.findChildren<QLabel *>();
    const auto listLabel = std::find_if(labels.begin(), labels.end(),
                                        [&](QLabel *l) { return l->buddy() == h.dialog.deviceList(); });
    ASSERT_NE(listLabel, labels.end());
    EXPECT_TRUE(namedByLabel(h.dialog.deviceList(), *listLabel));
    EXPECT_TRUE(accessibleText(h.dialog.deviceEdit(), QAccessible::Description).contains(QStringLiteral("tcp://HOST:PORT")));

    // A refused entry: the reason is shown and read out as shown.
    h.dialog.deviceEdit()->setText(QStringLiteral("tcp://gw"));
    h.dialog.accept();
    QLabel *problem = h.dialog.problemLabel();
    EXPECT_TRUE(problem->isVisible());
    EXPECT_TRUE(problem->text().contains(QStringLiteral("has no port"))) << problem->text().toStdString();
    EXPECT_EQ(accessibleText(problem, QAccessible::Name), problem->text());
    saveScreenshot(h.dialog, QStringLiteral("device-dialog"));
}
