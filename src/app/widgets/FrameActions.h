#pragma once

#include "app/FileCommandState.h"

#include <QAction>
#include <QMenu>
#include <QObject>
#include <QToolBar>

class QMainWindow;

// The main window's actions, menus and toolbar, each named after its
// control. The file commands have a menu item and a toolbar button of their
// own because the page commands enable them apart; the shortcuts sit on the
// menu items, so a disabled item's shortcut does nothing. Each carries a
// hint (ActionHint).
class FrameActions : public QObject
{
    Q_OBJECT
public:
    explicit FrameActions(QMainWindow *window);

    // Fills the menu bar (File, Edit, Window, About, Connect) and the
    // toolbar; Port1 is put into Connect and `animation` at the toolbar's
    // right end.
    void build(QMainWindow *window, QMenu *Port1, QWidget *animation);
    // Enables or disables the item or button that stands for `command`.
    void showFileCommand(FileCommandState::Command command, bool on);

    // File
    QAction *FileNewItem, *FileOpenItem, *FileSaveItem, *SaveAs, *FileExportItem, *FileExitItem;
    QAction *TBnew, *TBOpen, *TBSave;
    // Edit (menu items and toolbar buttons share them)
    QAction *EditCut1, *EditCopy1, *EditPaste1;
    QAction *HelpAbout1;
    // Window menu and page buttons
    QAction *phlistb, *Parab, *Eventb, *RFIDCodes1;
    QAction *PHBut, *Pbutt, *Ebutt, *RFbutt;
    // Connect
    QAction *OnLine1;
    QAction *SaveDiagnostics;
    QAction *led;

    QMenu *File1 = nullptr;
    QMenu *Edit1 = nullptr;
    QMenu *window = nullptr;
    QMenu *Connect1 = nullptr;
    QToolBar *ToolBar1 = nullptr;

private:
    QAction *make(const char *name, const QString &caption, const QString &hint, const QString &icon = QString());
};
