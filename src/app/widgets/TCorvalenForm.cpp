#include "app/widgets/TCorvalenForm.h"

#include "backup/BackupOpen.h"
#include "backup/widgets/BackupsDialog.h"
#include "directory/DirectoryOnConnection.h"

#include "app/widgets/AnimateStrip.h"
#include "app/widgets/DiagnosticsCommand.h"
#include "app/widgets/FocusedEdit.h"
#include "app/widgets/FrameActions.h"
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
#include "rfid/widgets/RfidPage.h"

#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QHash>
#include <QIcon>
#include <QScreen>
#include <QTimer>

namespace {
// The window is at least this big; the pages may ask for more.
constexpr QSize kMinimumSize(820, 600);

// Each lamp picture is read once: the lamp changes picture at every blink.
QIcon ledIcon(int image)
{
    static QHash<int, QIcon> icons;
    auto it = icons.find(image);
    if (it == icons.end())
        it = icons.insert(image, QIcon(QStringLiteral(":/resources/led%1.png").arg(image)));
    return it.value();
}
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
    buildPages();
    wireActions();

    connect(connection_.get(), &Connection::indicatorsChanged, this, &TCorvalenForm::presentConnection);
    connect(connection_.get(), &Connection::captionChanged, this, &QWidget::setWindowTitle);
    connect(connection_.get(), &Connection::onlineControlsChanged, this, &TCorvalenForm::setOnlineControls);
    // A click refused while an exchange waits says "Busy" until it ends.
    connect(&guard_, &ExchangeGuard::refused, StatusBar, &FrameStatusBar::showBusy);
    connect(&guard_, &ExchangeGuard::busyChanged, StatusBar, [this](bool busy) {
        if (!busy)
            StatusBar->busyEnded();
    });
    connect(&fileCommands_, &FileCommandState::enabledChanged, this, &TCorvalenForm::presentFileCommand);
    connect(&directory_, &PhoneDirectory::saveCommandsAllowed, &fileCommands_,
            &FileCommandState::enableSaveCommands);
    // Reading the codes or the system parameters offers their file.
    connect(systemPage_, &SystemPage::saveAsOffered, this,
            [this] { fileCommands_.setEnabled(FileCommandState::SaveAs, true); });
    // A completed event download offers the event file.
    connect(eventsPage_, &EventsPage::saveAsOffered, this, [this] {
        fileCommands_.setEnabled(FileCommandState::SaveAs, true);
        fileCommands_.setEnabled(FileCommandState::FileExportItem, true);
    });

    // The creation handler: every start begins with New.
    FileNew1Execute();
    presentConnection();
    Page->setCurrentWidget(phonePage_);

    setFixedSize(sizeHint().expandedTo(kMinimumSize));
}

TCorvalenForm::~TCorvalenForm()
{
    // The pages work with the context; they go before it does.
    delete Page;
    Page = nullptr;
}

void TCorvalenForm::buildPages()
{
    Page = new QTabWidget(this);
    Page->setObjectName(QStringLiteral("Page"));
    Page->setAccessibleName(QStringLiteral("Pages"));
    phonePage_ = new PhonePage(*ctx_, Page);
    systemPage_ = new SystemPage(*ctx_, Page);
    eventsPage_ = new EventsPage(*ctx_, Page);
    rfidPage_ = new RfidPage(*ctx_, Page);
    const struct
    {
        QWidget *page;
        const char *name;
        const char *caption;
    } pages[] = {
        {phonePage_, "phdir", "PhoneDataBase"},
        {systemPage_, "system", "SystemControls"},
        {eventsPage_, "Events", "Events"},
        {rfidPage_, "RFid_SU", "RFid_SU"},
    };
    for (const auto &p : pages) {
        if (p.page->objectName().isEmpty())
            p.page->setObjectName(QLatin1String(p.name));
        if (p.page->accessibleName().isEmpty())
            p.page->setAccessibleName(QLatin1String(p.caption));
        Page->addTab(p.page, QLatin1String(p.caption));
    }
    setCentralWidget(Page);
}

void TCorvalenForm::wireActions()
{
    FrameActions &a = *actions_;
    connect(a.FileNewItem, &QAction::triggered, this, &TCorvalenForm::FileNew1Execute);
    connect(a.TBnew, &QAction::triggered, this, &TCorvalenForm::FileNew1Execute);
    connect(a.FileOpenItem, &QAction::triggered, this, &TCorvalenForm::FileOpen1Execute);
    connect(a.TBOpen, &QAction::triggered, this, &TCorvalenForm::FileOpen1Execute);
    connect(a.FileSaveItem, &QAction::triggered, this, &TCorvalenForm::FileSave1Execute);
    connect(a.TBSave, &QAction::triggered, this, &TCorvalenForm::FileSave1Execute);
    connect(a.SaveAs, &QAction::triggered, this, &TCorvalenForm::SaveAsClick);
    connect(a.FileExportItem, &QAction::triggered, this, &TCorvalenForm::FileExportItemClick);
    connect(a.FileExitItem, &QAction::triggered, this, &TCorvalenForm::FileExit1Execute);
    connect(a.EditCut1, &QAction::triggered, this, [] { FocusedEdit::run(FocusedEdit::Command::Cut); });
    connect(a.EditCopy1, &QAction::triggered, this, [] { FocusedEdit::run(FocusedEdit::Command::Copy); });
    connect(a.EditPaste1, &QAction::triggered, this, [] { FocusedEdit::run(FocusedEdit::Command::Paste); });
    connect(a.HelpAbout1, &QAction::triggered, this, &TCorvalenForm::HelpAbout1Execute);
    connect(a.phlistb, &QAction::triggered, this, &TCorvalenForm::PHButClick);
    connect(a.PHBut, &QAction::triggered, this, &TCorvalenForm::PHButClick);
    connect(a.Parab, &QAction::triggered, this, &TCorvalenForm::PbuttClick);
    connect(a.Pbutt, &QAction::triggered, this, &TCorvalenForm::PbuttClick);
    connect(a.Eventb, &QAction::triggered, this, &TCorvalenForm::EbuttClick);
    connect(a.Ebutt, &QAction::triggered, this, &TCorvalenForm::EbuttClick);
    connect(a.RFIDCodes1, &QAction::triggered, this, &TCorvalenForm::RFbuttClick);
    connect(a.RFbutt, &QAction::triggered, this, &TCorvalenForm::RFbuttClick);
    connect(portMenu_, &PortMenu::deviceDialogRequested, this, &TCorvalenForm::DeviceItemClick);
    connect(a.SaveDiagnostics, &QAction::triggered, diagnostics_, &DiagnosticsCommand::SaveDiagnosticsClick);
    connect(a.OnLine1, &QAction::triggered, connection_.get(), &Connection::OnLine1Click);
    connect(a.led, &QAction::triggered, this, [this] {
        // The lamp's mark is the connection's, not the click's.
        actions_->led->setChecked(connection_->ledMarked());
        connection_->OnLine1Click();
    });
    // Assistive technology presses a checkable button with its one action,
    // Toggle, which flips the lamp without a click. A flip that no click
    // followed is set back and becomes the click it stands for, once the
    // caller has its answer (the click may open a dialog).
    connect(a.led, &QAction::toggled, this, [this](bool checked) {
        if (checked == connection_->ledMarked())
            return;
        QTimer::singleShot(0, this, [this] {
            QAction *led = actions_->led;
            if (led->isChecked() == connection_->ledMarked())
                return;
            led->setChecked(connection_->ledMarked());
            led->trigger();
        });
    });
}

void TCorvalenForm::presentConnection()
{
    const Connection &c = *connection_;
    QAction *led = actions_->led;
    // Any change of a toolbar action lays the toolbar out again: only a new
    // picture is set.
    if (c.ledImage() != shownLedImage_) {
        shownLedImage_ = c.ledImage();
        led->setIcon(ledIcon(shownLedImage_));
    }
    led->setText(c.ledHint());
    // The mouse resting on the lamp keeps its hint up; it follows the lamp.
    if (led->statusTip() != c.ledHint() && !statusBar()->currentMessage().isEmpty()
        && statusBar()->currentMessage() == led->statusTip())
        statusBar()->showMessage(c.ledHint());
    FrameActions::applyHint(led, c.ledHint());
    led->setChecked(c.ledMarked());
    // This runs at every blink of the lamp: a name or description set
    // again unchanged would still be announced to assistive technology.
    if (QWidget *button = actions_->ToolBar1->widgetForAction(led)) {
        if (button->accessibleName() != c.ledHint())
            button->setAccessibleName(c.ledHint());
        if (button->accessibleDescription() != c.ledHint())
            button->setAccessibleDescription(c.ledHint());
    }
    actions_->OnLine1->setText(c.onLineCaption());
    Animate1->setRunning(c.animateRunning());
    Animate1->setToolTip(c.animateHint());
    if (Animate1->accessibleDescription() != c.animateHint())
        Animate1->setAccessibleDescription(c.animateHint());
    portMenu_->menuAction()->setEnabled(c.portMenuEnabled());
}

void TCorvalenForm::setOnlineControls(bool enabled)
{
    phonePage_->setOnline(enabled);
    systemPage_->setOnline(enabled);
    eventsPage_->setOnline(enabled);
    rfidPage_->setOnline(enabled);
}

void TCorvalenForm::presentFileCommand(FileCommandState::Command command, bool on)
{
    FrameActions &a = *actions_;
    switch (command) {
    case FileCommandState::FileNewItem: a.FileNewItem->setEnabled(on); break;
    case FileCommandState::FileOpenItem: a.FileOpenItem->setEnabled(on); break;
    case FileCommandState::FileSaveItem: a.FileSaveItem->setEnabled(on); break;
    case FileCommandState::SaveAs: a.SaveAs->setEnabled(on); break;
    case FileCommandState::Edit1: a.Edit1->menuAction()->setEnabled(on); break;
    case FileCommandState::TBnew: a.TBnew->setEnabled(on); break;
    case FileCommandState::TBOpen: a.TBOpen->setEnabled(on); break;
    case FileCommandState::TBSave: a.TBSave->setEnabled(on); break;
    case FileCommandState::FileExportItem: a.FileExportItem->setEnabled(on); break;
    }
}

// File commands. While an exchange with the panel waits they are refused
// ("Busy" in the status bar): they would change what the exchange reads or
// writes, and New logs off.

void TCorvalenForm::FileNew1Execute()
{
    if (guard_.refusesClick())
        return;
    phonePage_->newPhoneList();
    portChoice_->setDetailsFileName(QString::fromLatin1(LogOnDetails::kFileName));
    fileCommands_.enableSaveCommands();
    directory_.allowPhoneFileSave();
    link_->conn().DirectorySynced = false;
    directory_.setWriteEachChangeEnabled(false);
    connection_->GoOffline();
    systemPage_->hideNoAnswerRingTime();
}

void TCorvalenForm::FileOpen1Execute()
{
    if (guard_.refusesClick())
        return;
    if (Page->currentWidget() == phonePage_)
        phonePage_->openPhoneList();
    else if (Page->currentWidget() == systemPage_)
        systemPage_->openParameterFile();
}

void TCorvalenForm::FileSave1Execute()
{
    if (guard_.refusesClick())
        return;
    phonePage_->savePhoneList();
}

void TCorvalenForm::SaveAsClick()
{
    if (guard_.refusesClick())
        return;
    QWidget *showing = Page->currentWidget();
    if (showing == phonePage_)
        phonePage_->saveAsPhoneList();
    else if (showing == systemPage_)
        systemPage_->saveAsParameterFile();
    else if (showing == eventsPage_)
        eventsPage_->saveAsEventFile();
}

void TCorvalenForm::FileExportItemClick()
{
    if (guard_.busy())
        return;
    QWidget *showing = Page->currentWidget();
    if (showing == phonePage_)
        phonePage_->exportPhoneList();
    else if (showing == eventsPage_)
        eventsPage_->exportEventFile();
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

// Page commands: each shows its page and offers the file commands of it.

void TCorvalenForm::PHButClick()
{
    Page->setCurrentWidget(phonePage_);
    fileCommands_.setEnabled(FileCommandState::FileNewItem, true);
    fileCommands_.setEnabled(FileCommandState::FileOpenItem, true);
    fileCommands_.setEnabled(FileCommandState::Edit1, true);
    if (directory_.PhoneFileSaveAllowed())
        fileCommands_.setEnabled(FileCommandState::FileSaveItem, true);
    if (directory_.PhoneFileSaveAsAllowed()) {
        fileCommands_.setEnabled(FileCommandState::SaveAs, true);
        fileCommands_.setEnabled(FileCommandState::FileExportItem, true);
    }
    phonePage_->focusName();
    fileCommands_.setEnabled(FileCommandState::TBnew, true);
    fileCommands_.setEnabled(FileCommandState::TBOpen, true);
    if (directory_.PhoneFileSaveAllowed())
        fileCommands_.setEnabled(FileCommandState::TBSave, true);
}

void TCorvalenForm::PbuttClick()
{
    Page->setCurrentWidget(systemPage_);
    ShowPageCommon();
    fileCommands_.setEnabled(FileCommandState::SaveAs, true);
    fileCommands_.setEnabled(FileCommandState::FileOpenItem, true);
    fileCommands_.setEnabled(FileCommandState::TBOpen, true);
}

void TCorvalenForm::EbuttClick()
{
    Page->setCurrentWidget(eventsPage_);
    ShowPageCommon();
    fileCommands_.setEnabled(FileCommandState::SaveAs, eventsPage_->EventsLoaded());
    fileCommands_.setEnabled(FileCommandState::FileExportItem, eventsPage_->EventsLoaded());
}

void TCorvalenForm::RFbuttClick()
{
    Page->setCurrentWidget(rfidPage_);
    rfidPage_->clearStatus();
    ShowPageCommon();
}

void TCorvalenForm::ShowPageCommon()
{
    for (FileCommandState::Command command :
         {FileCommandState::FileNewItem, FileCommandState::FileOpenItem, FileCommandState::FileSaveItem,
          FileCommandState::SaveAs, FileCommandState::Edit1, FileCommandState::TBnew, FileCommandState::TBOpen,
          FileCommandState::TBSave, FileCommandState::FileExportItem})
        fileCommands_.setEnabled(command, false);
}

void TCorvalenForm::enableBackups(const QString &folder)
{
    if (backups_)
        return;
    backups_ = new PanelBackups(BackupStore(folder), this);
    ctx_->erase = backups_;
    // Offered after a failed write: run once that write has let go of the line.
    connect(backups_, &PanelBackups::restoreRequested, this,
            [this](const BackupEntry &entry) { backups_->restoreWithBackup(*ctx_, entry); }, Qt::QueuedConnection);
    auto *item = new QAction(QStringLiteral("&Backups..."), this);
    item->setObjectName(QStringLiteral("BackupsItem"));
    item->setStatusTip(QStringLiteral("What the Corvalen held before each write that erased it"));
    connect(item, &QAction::triggered, this, &TCorvalenForm::BackupsItemClick);
    actions_->File1->insertAction(actions_->FileExitItem, item);
}

void TCorvalenForm::BackupsItemClick()
{
    if (!backups_)
        return;
    BackupsDialog dialog(
        backups_->store(), [this](const BackupEntry &entry) { backups_->restoreWithBackup(*ctx_, entry); },
        [this](const BackupEntry &entry) { return openBackup(entry); }, this);
    dialog.exec();
}

bool TCorvalenForm::openBackup(const BackupEntry &entry)
{
    if (guard_.refusesClick())
        return false;
    switch (entry.kind()) {
    case BackupKind::Directory:
        // Saved beside the lists New starts, never into the backups folder.
        if (!BackupOpen::openDirectory(*ctx_, entry, QDir::currentPath()))
            return false;
        PHButClick();
        return true;
    case BackupKind::Parameters:
        if (!BackupOpen::openParameters(systemPage_->controls(), entry, *prompt_))
            return false;
        PbuttClick();
        return true;
    case BackupKind::Tags: {
        QString why;
        const std::optional<StoreImage> image = BackupOpen::tagStore(entry, &why);
        if (!image) {
            prompt_->message(why, UserPrompt::Kind::Error);
            return false;
        }
        if (!rfidPage_->openStore(*image))
            return false;
        RFbuttClick();
        return true;
    }
    }
    return false;
}
