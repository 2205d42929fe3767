#include "app/widgets/DiagnosticsCommand.h"

#include "link/DeviceChoice.h"
#include "link/DiagnosticsReport.h"
#include "link/SerialDeviceList.h"
#include "link/SerialPort.h"
#include "link/TrafficJournal.h"
#include "link/UserPrompt.h"
#include "table/AtomicFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>

DiagnosticsCommand::DiagnosticsCommand(SerialPort &port, DeviceChoice &devices, UserPrompt &prompt,
                                       QWidget *window)
    : QObject(window)
    , port_(port)
    , devices_(devices)
    , prompt_(prompt)
    , window_(window)
{
}

QString DiagnosticsCommand::chooseFile() const
{
    if (chooser_)
        return chooser_();
    const QString suggested = QDir::home().filePath(
        QStringLiteral("corvalen-diagnostics-%1.txt")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"))));
    return QFileDialog::getSaveFileName(window_, QStringLiteral("Save Diagnostics"), suggested,
                                        QStringLiteral("Text files (*.txt);;All files (*)"));
}

void DiagnosticsCommand::SaveDiagnosticsClick()
{
    const QString fileName = chooseFile();
    if (!fileName.isEmpty())
        save(fileName);
}

bool DiagnosticsCommand::save(const QString &fileName)
{
    DiagnosticsReport report;
    report.version = QCoreApplication::applicationVersion();
    report.written = QDateTime::currentDateTime();
    report.portName = port_.portName();
    report.devices = devices_.devices();
    report.settingsFile = devices_.settings().fileName();
    report.present = scanner_ ? scanner_() : SerialDeviceList().scan();
    if (journal_) {
        report.journal = journal_->contents();
        report.journalFile = journal_->fileName();
        report.journalError = journal_->error();
    }
    // The journal shows the panel's data; the file is for its owner only.
    if (AtomicFile::write(fileName, report.compose(), QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        != AtomicFile::Result::Saved) {
        prompt_.message(QStringLiteral("Cannot create file %1").arg(fileName), UserPrompt::Kind::Error);
        return false;
    }
    return true;
}
