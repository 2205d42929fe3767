#include "app/FileCommandState.h"

void FileCommandState::setEnabled(Command command, bool on)
{
    if (enabled_[command] == on)
        return;
    enabled_[command] = on;
    emit enabledChanged(command, on);
}

void FileCommandState::enableSaveCommands()
{
    setEnabled(FileSaveItem, true);
    setEnabled(TBSave, true);
    setEnabled(SaveAs, true);
    setEnabled(FileExportItem, true);
}
