#pragma once

#include "link/DeviceChoice.h"
#include "link/SerialDevice.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

class QDialogButtonBox;

// "Device...": the device of the port chosen now. Lists the serial devices
// present, refreshed every second while open (the selection stays on its
// device), and takes a device path or a network address typed in. OK checks
// the entry; a bad one is refused here with the reason and the dialog stays
// open. A good one becomes the port's device from the next log-on and is
// remembered (DeviceChoice).
class DeviceDialog : public QDialog
{
    Q_OBJECT
public:
    using Scanner = std::function<SerialDevices()>;
    static constexpr int kRefreshMs = 1000;

    // port: 1 to 4. scanner: the devices present (SerialDeviceList by default).
    DeviceDialog(DeviceChoice &choice, int port, Scanner scanner = {}, QWidget *parent = nullptr);

    // What the choice said when it was taken (for the status bar).
    QString outcome() const { return outcome_; }

    // Reads the devices again (the timer does this every second).
    void refresh();

    QTreeWidget *deviceList() const { return list_; }
    QLineEdit *deviceEdit() const { return edit_; }
    QLabel *problemLabel() const { return problem_; }
    // The devices' problems written out whole, under the list.
    QLabel *notesLabel() const { return notes_; }

    void accept() override;

    // The status text of a device in the list: the problem, or "Ready".
    static QString statusOf(const SerialDevice &device);

private:
    void showDevices(const SerialDevices &devices);
    void takeSelected();

    DeviceChoice &choice_;
    int port_;
    Scanner scanner_;
    SerialDevices shown_;
    QTimer timer_;
    QLabel *current_;
    QTreeWidget *list_;
    QLineEdit *edit_;
    QLabel *problem_;
    QLabel *notes_;
    QDialogButtonBox *buttons_;
    QString outcome_;
};
