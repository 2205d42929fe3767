#pragma once

#include "link/SerialDevice.h"

#include <QObject>
#include <functional>

class DeviceChoice;
class SerialPort;
class TrafficJournal;
class UserPrompt;
class QWidget;

// Connect, "Save Diagnostics...": asks for a file name and writes the
// diagnostics file (DiagnosticsReport) there in one piece; a file that
// cannot be written is reported and leaves any old one as it was.
class DiagnosticsCommand : public QObject
{
    Q_OBJECT
public:
    using FileChooser = std::function<QString()>;
    using Scanner = std::function<SerialDevices()>;

    DiagnosticsCommand(SerialPort &port, DeviceChoice &devices, UserPrompt &prompt, QWidget *window);

    void setJournal(TrafficJournal *journal) { journal_ = journal; }
    void setFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }
    void setScanner(Scanner scanner) { scanner_ = std::move(scanner); }

    void SaveDiagnosticsClick();
    bool save(const QString &fileName);

private:
    QString chooseFile() const;

    SerialPort &port_;
    DeviceChoice &devices_;
    UserPrompt &prompt_;
    QWidget *window_;
    TrafficJournal *journal_ = nullptr;
    FileChooser chooser_;
    Scanner scanner_;
};
