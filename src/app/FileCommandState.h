#pragma once

#include "link/FileCommands.h"

#include <QObject>
#include <array>

// Which file and edit commands of the main window are offered: the menu
// items New, Open, Save, Save As, the Edit menu, the toolbar buttons New,
// Open, Save, and "Export for spreadsheet..." (offered with Save As on the
// phone page and on the event page, not on the parameter page). The page commands set them per page; New, Open and the
// downloads of the phone list enable Save and Save As again; the parameter
// reads enable Save As. The window follows enabledChanged().
class FileCommandState : public QObject, public FileCommands
{
    Q_OBJECT
public:
    using QObject::QObject;

    bool enabled(Command command) const override { return enabled_[command]; }
    void setEnabled(Command command, bool on) override;
    void enableSaveCommands() override;

signals:
    void enabledChanged(FileCommandState::Command command, bool on);

private:
    std::array<bool, kCount> enabled_{true, true, true, true, true, true, true, true, true};
};
