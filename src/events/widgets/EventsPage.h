#pragma once

#include "link/TransferContext.h"
#include "events/ComputerClock.h"
#include "events/EventLog.h"

#include <QWidget>
#include <functional>

class EventClockBox;
class EventDetailsBox;
class QLabel;
class QPushButton;
class TableGrid;

// The event page (Events): the event grid DBGrid2 with the "Event Details"
// box of its current row, "Down Load" and "Set_time", and the panel's clock
// beside the computer's in the " Time " group. The page owns the downloaded
// event log; Save As of the main window writes it to an event file.
class EventsPage : public QWidget
{
    Q_OBJECT
public:
    explicit EventsPage(TransferContext &ctx, QWidget *parent = nullptr);
    ~EventsPage() override;

    // Save As on this page: choose a name, write the event file; a file that
    // cannot be written is reported and nothing is replaced.
    void saveAsEventFile();
    // "Export for spreadsheet..." on this page: the event log for
    // spreadsheet programs, with the separator of the user's locale.
    void exportEventFile();
    // Set by the first download that completed; never cleared.
    bool EventsLoaded() const { return log_.EventsLoaded(); }
    // "Down Load" and "Set_time" work only while logged on.
    void setOnline(bool online);

    EventLog &eventLog() { return log_; }

    // Seams for tests: where Save As gets its file name (the save dialog by
    // default; the empty text means cancelled), and the computer's clock.
    using FileChooser = std::function<QString(QWidget *parent)>;
    void setFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }
    void setExportChooser(FileChooser chooser) { chooseExport_ = std::move(chooser); }
    void setComputerClock(ComputerClock clock) { clock_ = std::move(clock); }

    // The handlers of the page's controls.
    void dnLoadClick();
    void Set_timeClick();
    void DBGrid2TitleClick(const QByteArray &column);

signals:
    // A download completed: Save As has something to write. The main window
    // enables Save As while this page is showing.
    void saveAsOffered();

private:
    void buildControls();
    void EventTableAfterScroll();
    // Asks for a name and writes the file; reports a file it cannot write.
    void writeEventFile(const FileChooser &choose, const std::function<bool(const QString &, QString *)> &write);
    void showDownloadProblem(const QString &text);

    TransferContext &ctx_;
    EventLog log_;
    ComputerClock clock_;
    FileChooser chooseFile_;
    FileChooser chooseExport_;

    TableGrid *DBGrid2 = nullptr;
    QPushButton *dnLoad = nullptr;
    QPushButton *Set_time = nullptr;
    EventClockBox *timerBox = nullptr;
    EventDetailsBox *details_ = nullptr;
    QLabel *dnLoadProblem_ = nullptr;
};
