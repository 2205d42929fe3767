#include "app/widgets/FramePages.h"

#include "directory/widgets/PhonePage.h"
#include "events/widgets/EventsPage.h"
#include "parameters/widgets/SystemPage.h"
#include "rfid/widgets/RfidPage.h"

#include <QTabWidget>

FramePages::FramePages(DirectoryContext &ctx, FileCommandState &fileCommands, QWidget *window)
    : QObject(window)
    , directory_(ctx.directory)
    , fileCommands_(fileCommands)
{
    tabs_ = new QTabWidget(window);
    tabs_->setObjectName(QStringLiteral("Page"));
    tabs_->setAccessibleName(QStringLiteral("Pages"));
    phonePage_ = new PhonePage(ctx, tabs_);
    systemPage_ = new SystemPage(ctx, tabs_);
    eventsPage_ = new EventsPage(ctx, tabs_);
    rfidPage_ = new RfidPage(ctx, tabs_);
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
        tabs_->addTab(p.page, QLatin1String(p.caption));
    }
}

QWidget *FramePages::showing() const
{
    return tabs_->currentWidget();
}

void FramePages::PHButClick()
{
    tabs_->setCurrentWidget(phonePage_);
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

void FramePages::PbuttClick()
{
    tabs_->setCurrentWidget(systemPage_);
    ShowPageCommon();
    fileCommands_.setEnabled(FileCommandState::SaveAs, true);
    fileCommands_.setEnabled(FileCommandState::FileOpenItem, true);
    fileCommands_.setEnabled(FileCommandState::TBOpen, true);
}

void FramePages::EbuttClick()
{
    tabs_->setCurrentWidget(eventsPage_);
    ShowPageCommon();
    fileCommands_.setEnabled(FileCommandState::SaveAs, eventsPage_->EventsLoaded());
    fileCommands_.setEnabled(FileCommandState::FileExportItem, eventsPage_->EventsLoaded());
}

void FramePages::RFbuttClick()
{
    tabs_->setCurrentWidget(rfidPage_);
    rfidPage_->clearStatus();
    ShowPageCommon();
}

void FramePages::ShowPageCommon()
{
    for (FileCommandState::Command command :
         {FileCommandState::FileNewItem, FileCommandState::FileOpenItem, FileCommandState::FileSaveItem,
          FileCommandState::SaveAs, FileCommandState::Edit1, FileCommandState::TBnew, FileCommandState::TBOpen,
          FileCommandState::TBSave, FileCommandState::FileExportItem})
        fileCommands_.setEnabled(command, false);
}

void FramePages::setOnline(bool enabled)
{
    phonePage_->setOnline(enabled);
    systemPage_->setOnline(enabled);
    eventsPage_->setOnline(enabled);
    rfidPage_->setOnline(enabled);
}
