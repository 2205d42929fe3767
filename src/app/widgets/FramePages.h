#pragma once

#include "directory/DirectoryContext.h"
#include "app/FileCommandState.h"

#include <QObject>

class EventsPage;
class PhonePage;
class QTabWidget;
class QWidget;
class RfidPage;
class SystemPage;

// The main window's four pages in the tabs `Page` (phdir, system, Events,
// RFid_SU) and the page commands: each shows its page and offers the file
// commands of it. A tab click only changes the page shown.
class FramePages : public QObject
{
    Q_OBJECT
public:
    // The tabs are made a child of `window`, which shows them.
    FramePages(DirectoryContext &ctx, FileCommandState &fileCommands, QWidget *window);

    QTabWidget *tabs() const { return tabs_; }
    PhonePage *phonePage() const { return phonePage_; }
    SystemPage *systemPage() const { return systemPage_; }
    EventsPage *eventsPage() const { return eventsPage_; }
    RfidPage *rfidPage() const { return rfidPage_; }
    QWidget *showing() const;

    // Page commands.
    void PHButClick();
    void PbuttClick();
    void EbuttClick();
    void RFbuttClick();
    // Withdraws every file command; the pages other than the phone list
    // offer theirs after it.
    void ShowPageCommon();

    // The controls that talk to the panel, on every page.
    void setOnline(bool enabled);

private:
    PhoneDirectory &directory_;
    FileCommandState &fileCommands_;
    QTabWidget *tabs_ = nullptr;
    PhonePage *phonePage_ = nullptr;
    SystemPage *systemPage_ = nullptr;
    EventsPage *eventsPage_ = nullptr;
    RfidPage *rfidPage_ = nullptr;
};
