#pragma once

#include "directory/DirectoryContext.h"
#include "rfid/RfidDownload.h"
#include "rfid/RfidEntryActions.h"
#include "rfid/RfidPageState.h"
#include "rfid/RfidWriteAll.h"
#include "rfid/TagReader.h"
#include "rfid/widgets/SystemBeeper.h"

#include <QWidget>

class QPushButton;
class QTimer;
class RfidEntryBox;
class RfidTagBox;
class TableGrid;

// The RFID page (RFid_SU): the directory's names, rooms and tag codes in
// DBGrid3, the current entry with "Up Date" and "Del", the tag read at the
// panel's reader ("Get_RFID", counted down by Timer3), and the store
// transfers "DownLoad" and "Write All".
class RfidPage : public QWidget
{
    Q_OBJECT
public:
    explicit RfidPage(DirectoryContext &ctx, QWidget *parent = nullptr);
    ~RfidPage() override;

    // Opening the page by its button empties iderror and hides Lc_exist.
    void clearStatus() { state_.clearStatus(); }
    // "Get_RFID", "DownLoad" and "Write All" work only while logged on.
    void setOnline(bool online);

    RfidPageState &state() { return state_; }

    // The handlers of the page's controls and of Timer3 (one tick a second
    // while a tag read waits).
    void Get_IDClick();
    void Timer3Timer();
    void Button1Click();
    void Button2Click();
    void download_idClick();
    void writeall_idClick();
    // A store kept in a file (a backup) into the table, as DownLoad places
    // the panel's; false while an exchange runs.
    bool openStore(const StoreImage &image);

private:
    void buildControls();
    void setupGrid();
    void followTimer3(bool active);

    DirectoryContext &ctx_;
    RfidPageState state_;
    SystemBeeper beeper_;
    TagReader reader_;
    RfidEntryActions entryActions_;
    RfidDownload download_;
    RfidWriteAll writeAll_;

    TableGrid *DBGrid3 = nullptr;
    RfidEntryBox *entryBox_ = nullptr;
    RfidTagBox *tagBox_ = nullptr;
    QPushButton *download_id = nullptr;
    QPushButton *writeall_id = nullptr;
    QTimer *Timer3 = nullptr;
};
