#pragma once

#include "directory/DirectoryContext.h"

class Connection;
class FramePages;
class PortChoice;

// The File menu's commands on the pages: New, Open, Save, Save As and
// "Export for spreadsheet...", each dispatched to the page showing. While an
// exchange with the panel waits they are refused ("Busy" in the status bar):
// they would change what the exchange reads or writes, and New logs off.
class FrameFileCommands
{
public:
    FrameFileCommands(DirectoryContext &ctx, FramePages &pages, PortChoice &ports, Connection &connection);

    // A new phone list, the default details file, offline; also what every
    // start begins with.
    void FileNew1Execute();
    void FileOpen1Execute();
    void FileSave1Execute();
    void SaveAsClick();
    // The phone list or the event log.
    void FileExportItemClick();

private:
    DirectoryContext &ctx_;
    FramePages &pages_;
    PortChoice &ports_;
    Connection &connection_;
};
