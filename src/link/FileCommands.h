#pragma once

// The main window's file and edit commands as the code below the window
// sees them: which of them are offered. The window keeps the state and
// presents it; transfers and tests only switch commands on and off.
class FileCommands
{
public:
    enum Command { FileNewItem, FileOpenItem, FileSaveItem, SaveAs, Edit1, TBnew, TBOpen, TBSave, FileExportItem };
    static constexpr int kCount = FileExportItem + 1;

    virtual ~FileCommands() = default;

    virtual bool enabled(Command command) const = 0;
    virtual void setEnabled(Command command, bool on) = 0;
    // FileSaveItem, TBSave, SaveAs and FileExportItem: the phone list can be
    // saved.
    virtual void enableSaveCommands() = 0;
};
