#include "app/widgets/TCorvalenForm.h"

#include "directory/DirectoryOnConnection.h"

#include "app/widgets/AnimateStrip.h"
#include "app/widgets/ConnectionControls.h"
#include "app/widgets/DiagnosticsCommand.h"
#include "app/widgets/FocusedEdit.h"
#include "app/widgets/FrameActions.h"
#include "app/widgets/FrameBackups.h"
#include "app/widgets/FrameFileCommands.h"
#include "app/widgets/FrameSites.h"
#include "app/widgets/FramePrinting.h"
#include "app/widgets/FrameRecords.h"
#include "app/widgets/FrameStatusBar.h"
#include "app/widgets/MessageBoxPrompt.h"
#include "app/widgets/PortMenu.h"
#include "app/widgets/TAboutBox.h"
#include "directory/widgets/PhonePage.h"
#include "events/widgets/EventsPage.h"
#include "link/LogOnDetails.h"
#include "link/PanelModel.h"
#include "link/widgets/DeviceDialog.h"
#include "parameters/widgets/SystemPage.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QTabWidget>

namespace {
// The window is at least this big; the pages may ask for more.
constexpr QSize kMinimumSize(820, 600);
} // namespace

TCorvalenForm::TCorvalenForm(SerialPort &port, Waiter &waiter, DeviceMap &devices, UserPrompt *prompt,
                             QWidget *parent, const QString &settingsFile)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                              | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("CorvalenForm"));
    setWindowTitle(StartCaption());
    setWindowIcon(QIcon(QStringLiteral(":/resources/corvalen.png")));
    // No accessible name: assistive technology reads the caption, which
    // names the panel model once a log-on has recognised it.

    StatusBar = new FrameStatusBar(this);
    setStatusBar(StatusBar);
    if (!prompt) {
        ownPrompt_ = std::make_unique<MessageBoxPrompt>(this);
        prompt = ownPrompt_.get();
    }
    prompt_ = prompt;
    link_ = std::make_unique<CommandExchange>(port, waiter, *StatusBar, *prompt_);
    ctx_ = std::make_unique<DirectoryContext>(
        DirectoryContext{{*link_, guard_, *prompt_, *StatusBar, feedback_, &fileCommands_}, directory_});
    connection_ = std::make_unique<Connection>(*ctx_);
    followConnection(directory_, *connection_);
    feedback_.setConnection(connection_.get());
    portChoice_ = std::make_unique<PortChoice>(port, QString::fromLatin1(LogOnDetails::kFileName));

    actions_ = new FrameActions(this);
    deviceChoice_ = std::make_unique<DeviceChoice>(
        devices, PortSettings(settingsFile.isEmpty() ? PortSettings::defaultFileName() : settingsFile));
    diagnostics_ = new DiagnosticsCommand(port, *deviceChoice_, *prompt_, this);
    portMenu_ = new PortMenu(*portChoice_, *deviceChoice_, guard_, this);
    Animate1 = new AnimateStrip(QStringLiteral(":/resources/animate.png"), this);
    actions_->build(this, portMenu_, Animate1);
    pages_ = new FramePages(*ctx_, fileCommands_, this);
    Page = pages_->tabs();
    setCentralWidget(Page);
    fileMenu_ = std::make_unique<FrameFileCommands>(*ctx_, *pages_, *portChoice_, *connection_);
    backupCommands_ = new FrameBackups(*ctx_, *pages_, *actions_, this);
    records_ = new FrameRecords(*ctx_, *pages_, *actions_, *backupCommands_, this);
    printing_ = new FramePrinting(*ctx_, *pages_, *records_, *actions_, this);
    connectionControls_ =
        new ConnectionControls(*connection_, *actions_, *Animate1, portMenu_->menuAction(), statusBar(), this);
    sites_ = new FrameSites({*ctx_, *connection_, *portChoice_, devices, *backupCommands_, *actions_, *StatusBar,
                            [this] { FileNew1Execute(); }},
                           this);
    wireActions();

    connect(connection_.get(), &Connection::captionChanged, sites_, &FrameSites::showCaption);
    connect(connection_.get(), &Connection::onlineControlsChanged, pages_, &FramePages::setOnline);
    // A click refused while an exchange waits says "Busy" until it ends.
    connect(&guard_, &ExchangeGuard::refused, StatusBar, &FrameStatusBar::showBusy);
    connect(&guard_, &ExchangeGuard::busyChanged, StatusBar, [this](bool busy) {
        if (!busy)
            StatusBar->busyEnded();
    });
    connect(&fileCommands_, &FileCommandState::enabledChanged, actions_, &FrameActions::showFileCommand);
    connect(&directory_, &PhoneDirectory::saveCommandsAllowed, &fileCommands_,
            &FileCommandState::enableSaveCommands);
    // Reading the codes or the system parameters offers their file.
    connect(systemPage(), &SystemPage::saveAsOffered, this,
            [this] { fileCommands_.setEnabled(FileCommandState::SaveAs, true); });
    // A completed event download offers the event file.
    connect(eventsPage(), &EventsPage::saveAsOffered, this, [this] {
        fileCommands_.setEnabled(FileCommandState::SaveAs, true);
        fileCommands_.setEnabled(FileCommandState::FileExportItem, true);
    });

    // The creation handler: every start begins with New.
    FileNew1Execute();
    connectionControls_->present();
    Page->setCurrentWidget(phonePage());

    setFixedSize(sizeHint().expandedTo(kMinimumSize));
}

TCorvalenForm::~TCorvalenForm()
{
    // The pages work with the context; they go before it does.
    delete Page;
    Page = nullptr;
}

void TCorvalenForm::wireActions()
{
    FrameActions &a = *actions_;
    FrameFileCommands *files = fileMenu_.get();
    for (QAction *action : {a.FileNewItem, a.TBnew})
        connect(action, &QAction::triggered, this, [files] { files->FileNew1Execute(); });
    for (QAction *action : {a.FileOpenItem, a.TBOpen})
        connect(action, &QAction::triggered, this, [files] { files->FileOpen1Execute(); });
    for (QAction *action : {a.FileSaveItem, a.TBSave})
        connect(action, &QAction::triggered, this, [files] { files->FileSave1Execute(); });
    connect(a.SaveAs, &QAction::triggered, this, [files] { files->SaveAsClick(); });
    connect(a.FileExportItem, &QAction::triggered, this, [files] { files->FileExportItemClick(); });
    connect(a.FileExitItem, &QAction::triggered, this, &TCorvalenForm::FileExit1Execute);
    connect(a.EditCut1, &QAction::triggered, this, [] { FocusedEdit::run(FocusedEdit::Command::Cut); });
    connect(a.EditCopy1, &QAction::triggered, this, [] { FocusedEdit::run(FocusedEdit::Command::Copy); });
    connect(a.EditPaste1, &QAction::triggered, this, [] { FocusedEdit::run(FocusedEdit::Command::Paste); });
    connect(a.HelpAbout1, &QAction::triggered, this, &TCorvalenForm::HelpAbout1Execute);
    for (QAction *action : {a.phlistb, a.PHBut})
        connect(action, &QAction::triggered, pages_, &FramePages::PHButClick);
    for (QAction *action : {a.Parab, a.Pbutt})
        connect(action, &QAction::triggered, pages_, &FramePages::PbuttClick);
    for (QAction *action : {a.Eventb, a.Ebutt})
        connect(action, &QAction::triggered, pages_, &FramePages::EbuttClick);
    for (QAction *action : {a.RFIDCodes1, a.RFbutt})
        connect(action, &QAction::triggered, pages_, &FramePages::RFbuttClick);
    connect(portMenu_, &PortMenu::deviceDialogRequested, this, &TCorvalenForm::DeviceItemClick);
    connect(a.SaveDiagnostics, &QAction::triggered, diagnostics_, &DiagnosticsCommand::SaveDiagnosticsClick);
    connect(a.OnLine1, &QAction::triggered, connection_.get(), &Connection::OnLine1Click);
}

void TCorvalenForm::FileNew1Execute()
{
    fileMenu_->FileNew1Execute();
}

void TCorvalenForm::FileOpen1Execute()
{
    fileMenu_->FileOpen1Execute();
}

void TCorvalenForm::FileSave1Execute()
{
    fileMenu_->FileSave1Execute();
}

void TCorvalenForm::SaveAsClick()
{
    fileMenu_->SaveAsClick();
}

void TCorvalenForm::FileExportItemClick()
{
    fileMenu_->FileExportItemClick();
}

void TCorvalenForm::FileExit1Execute()
{
    link_->LogOff();
    close();
}

void TCorvalenForm::HelpAbout1Execute()
{
    if (aboutBox_)
        aboutBox_->exec();
}

void TCorvalenForm::setJournal(TrafficJournal *journal)
{
    diagnostics_->setJournal(journal);
}

void TCorvalenForm::DeviceItemClick()
{
    // The port menu is disabled while connected; a new device waits for the
    // next log-on in any case.
    if (guard_.busy() || !portMenu_->menuAction()->isEnabled())
        return;
    const int port = portChoice_->checkedItem() > 0 ? portChoice_->checkedItem() : 2;
    DeviceDialog dialog(*deviceChoice_, port, {}, this);
    if (dialog.exec() == QDialog::Accepted)
        StatusBar->setStatusText(dialog.outcome());
}

void TCorvalenForm::enableBackups(const QString &folder)
{
    backupCommands_->enable(folder);
}

void TCorvalenForm::enableSites(const QString &bookFile)
{
    sites_->enable(bookFile, deviceChoice_->settings().fileName());
}

void TCorvalenForm::enableRecords()
{
    records_->enable();
    printing_->enable();
    // Room for the archive page's filters, grid and chart side by side.
    setFixedSize(sizeHint().expandedTo(size()));
}

PanelBackups *TCorvalenForm::backups() const
{
    return backupCommands_->backups();
}

void TCorvalenForm::BackupsItemClick()
{
    backupCommands_->BackupsItemClick();
}

bool TCorvalenForm::openBackup(const BackupEntry &entry)
{
    return backupCommands_->openBackup(entry);
}

void TCorvalenForm::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

void TCorvalenForm::FormClose()
{
    // A log-on under way stops at its next test.
    link_->conn().LogOnCancelled = true;
    link_->LogOff();
    link_->PumpWait(500);
}

void TCorvalenForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    activateWindow();
    Page->setFocus();
}
