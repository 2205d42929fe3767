#pragma once

#include "directory/DirectoryContext.h"
#include "app/FileCommandState.h"
#include "app/widgets/FrameFeedback.h"
#include "app/widgets/FramePages.h"
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
class ConnectionControls;
class DiagnosticsCommand;
struct BackupEntry;
class FrameActions;
class FrameBackups;
class FrameFileCommands;
class FrameSites;
class FramePrinting;
class FrameRecords;
class PanelBackups;
class FrameStatusBar;
class PortMenu;
class TAboutBox;
class TTransferF;
class TrafficJournal;
class Waiter;

// The main window CorvalenForm: the four pages in `Page`, the menus, the
// toolbar with the lamp `led` and the animation `Animate1`, the two-panel
// status bar. It owns the link to the panel and everything the pages share
// (DirectoryContext), and wires the parts that do the work: the actions and menus
// (FrameActions, PortMenu) know nothing of the window, the pages and their
// commands (FramePages), the file commands (FrameFileCommands), the backups
// (FrameBackups) and the connection's controls (ConnectionControls) know
// only what they are given. It runs File New when it is created, so it
// starts offline on COM2 with an empty phone list.
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
    PanelBackups *backups() const;
    // File > "Backups...".
    void BackupsItemClick();
    // The versions of what the panel held and the event archive, kept in
    // the working folder; File > "History...", the "Event Archive" page and
    // File > "Print".
    // Without this call nothing is recorded.
    void enableRecords();
    FrameRecords &records() { return *records_; }
    FramePrinting &printing() { return *printing_; }
    // Its "Open in Page": the backup into its page, as if opened from a file,
    // and that page shown. False (nothing changed) while an exchange runs or
    // when the backup cannot be read.
    bool openBackup(const BackupEntry &entry);

    // The site book (File > "Sites...", the recent sites); without this
    // call the window works without sites.
    void enableSites(const QString &bookFile);
    FrameSites &sites() { return *sites_; }

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
    PhonePage *phonePage() const { return pages_->phonePage(); }
    SystemPage *systemPage() const { return pages_->systemPage(); }
    EventsPage *eventsPage() const { return pages_->eventsPage(); }
    RfidPage *rfidPage() const { return pages_->rfidPage(); }

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
    void PHButClick() { pages_->PHButClick(); }
    void PbuttClick() { pages_->PbuttClick(); }
    void EbuttClick() { pages_->EbuttClick(); }
    void RFbuttClick() { pages_->RFbuttClick(); }

    QTabWidget *Page = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void wireActions();
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
    std::unique_ptr<Connection> connection_;
    std::unique_ptr<PortChoice> portChoice_;
    std::unique_ptr<DeviceChoice> deviceChoice_;
    DiagnosticsCommand *diagnostics_ = nullptr;

    FrameActions *actions_ = nullptr;
    PortMenu *portMenu_ = nullptr;
    AnimateStrip *Animate1 = nullptr;
    FramePages *pages_ = nullptr;
    std::unique_ptr<FrameFileCommands> fileMenu_;
    FrameBackups *backupCommands_ = nullptr;
    FrameSites *sites_ = nullptr;
    FrameRecords *records_ = nullptr;
    FramePrinting *printing_ = nullptr;
    ConnectionControls *connectionControls_ = nullptr;
    TAboutBox *aboutBox_ = nullptr;
    bool shownOnce_ = false;
};
