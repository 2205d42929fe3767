#pragma once

#include "directory/DirectoryContext.h"
#include "backup/PanelBackups.h"
#include "app/FileCommandState.h"
#include "app/widgets/FrameFeedback.h"
#include "directory/PhoneDirectory.h"
#include "link/CommandExchange.h"
#include "link/Connection.h"
#include "link/DeviceChoice.h"
#include "link/ExchangeGuard.h"
#include "link/PortChoice.h"

#include <QMainWindow>
#include <QTabWidget>
#include <memory>

class AnimateStrip;
class DiagnosticsCommand;
class EventsPage;
class FrameActions;
class FrameStatusBar;
class PhonePage;
class PortMenu;
class RfidPage;
class SystemPage;
class TAboutBox;
class TTransferF;
class TrafficJournal;
class Waiter;

// The main window CorvalenForm: the four pages in `Page`, the menus, the
// toolbar with the lamp `led` and the animation `Animate1`, the two-panel
// status bar. It owns the link to the panel and everything the pages share
// (DirectoryContext), runs File New when it is created (so it starts offline on
// COM2 with an empty phone list), dispatches the file commands to the page
// showing and sets them per page with the page commands.
class TCorvalenForm : public QMainWindow
{
    Q_OBJECT
public:
    // prompt: where messages go; the window's own message boxes when null.
    // devices: what the ports stand for; the Device dialog changes it and
    // remembers the change in the settings file (settingsFile; the user's
    // configuration folder when empty).
    TCorvalenForm(SerialPort &port, Waiter &waiter, DeviceMap &devices, UserPrompt *prompt = nullptr,
                  QWidget *parent = nullptr, const QString &settingsFile = QString());
    ~TCorvalenForm() override;

    // The windows created after this one at start-up.
    void setAboutBox(TAboutBox *box) { aboutBox_ = box; }
    void setLogOnDialog(PinRequest *dialog) { connection_->setPinRequest(dialog); }
    void setTransferWindow(TTransferF *window) { feedback_.setTransferWindow(window); }
    // The traffic journal on the port, for Save Diagnostics.
    void setJournal(TrafficJournal *journal);

    // Backups before the writes that erase, kept in `folder`, and the File
    // menu's "Backups..." command. Without this call no backups are taken.
    void enableBackups(const QString &folder);
    PanelBackups *backups() const { return backups_; }
    // File > "Backups...".
    void BackupsItemClick();
    // Its "Open in Page": the backup into its page, as if opened from a file,
    // and that page shown. False (nothing changed) while an exchange runs or
    // when the backup cannot be read.
    bool openBackup(const BackupEntry &entry);

    DirectoryContext &context() { return *ctx_; }
    CommandExchange &link() { return *link_; }
    Connection &connection() { return *connection_; }
    PortChoice &portChoice() { return *portChoice_; }
    DeviceChoice &deviceChoice() { return *deviceChoice_; }
    DiagnosticsCommand &diagnostics() { return *diagnostics_; }
    FileCommandState &fileCommands() { return fileCommands_; }
    FrameStatusBar &statusSink() { return *StatusBar; }
    UserPrompt &prompt() { return *prompt_; }
    FrameActions &actions() { return *actions_; }
    PortMenu &portMenu() { return *portMenu_; }
    AnimateStrip &animation() { return *Animate1; }

    // The pages phdir, system, Events and RFid_SU.
    PhonePage *phonePage() const { return phonePage_; }
    SystemPage *systemPage() const { return systemPage_; }
    EventsPage *eventsPage() const { return eventsPage_; }
    RfidPage *rfidPage() const { return rfidPage_; }

    // File commands, dispatched to the page showing.
    void FileNew1Execute();
    void FileOpen1Execute();
    void FileSave1Execute();
    void SaveAsClick();
    // "Export for spreadsheet...": the phone list or the event log.
    void FileExportItemClick();
    void FileExit1Execute();
    void HelpAbout1Execute();
    // Port, "Device...".
    void DeviceItemClick();

    // Page commands.
    void PHButClick();
    void PbuttClick();
    void EbuttClick();
    void RFbuttClick();
    void ShowPageCommon();

    QTabWidget *Page = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildPages();
    void wireActions();
    void presentConnection();
    void presentFileCommand(FileCommandState::Command command, bool on);
    void setOnlineControls(bool enabled);
    void FormClose();

    FrameStatusBar *StatusBar = nullptr;
    std::unique_ptr<UserPrompt> ownPrompt_;
    UserPrompt *prompt_ = nullptr;
    std::unique_ptr<CommandExchange> link_;
    ExchangeGuard guard_;
    PhoneDirectory directory_;
    FileCommandState fileCommands_;
    FrameFeedback feedback_;
    std::unique_ptr<DirectoryContext> ctx_;
    PanelBackups *backups_ = nullptr;
    std::unique_ptr<Connection> connection_;
    std::unique_ptr<PortChoice> portChoice_;
    std::unique_ptr<DeviceChoice> deviceChoice_;
    DiagnosticsCommand *diagnostics_ = nullptr;

    FrameActions *actions_ = nullptr;
    PortMenu *portMenu_ = nullptr;
    AnimateStrip *Animate1 = nullptr;
    PhonePage *phonePage_ = nullptr;
    SystemPage *systemPage_ = nullptr;
    EventsPage *eventsPage_ = nullptr;
    RfidPage *rfidPage_ = nullptr;
    TAboutBox *aboutBox_ = nullptr;
    bool shownOnce_ = false;
    int shownLedImage_ = -1; // the lamp's picture on show
};
