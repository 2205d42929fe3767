#include "app/widgets/FrameActions.h"

#include "app/widgets/ActionHint.h"

#include <QIcon>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolButton>

namespace {
QString withoutAmpersand(QString caption)
{
    caption.remove(QLatin1Char('&'));
    return caption;
}
} // namespace

FrameActions::FrameActions(QMainWindow *window)
    : QObject(window)
{
    FileNewItem = make("FileNewItem", QStringLiteral("&New"), QStringLiteral("New|Create a new file"), "new");
    FileNewItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    FileOpenItem = make("FileOpenItem", QStringLiteral("&Open"), QStringLiteral("Open|Open a file"), "open");
    FileOpenItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    FileSaveItem = make("FileSaveItem", QStringLiteral("&Save"), QStringLiteral("Save|Save current file"), "save");
    FileSaveItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    SaveAs = make("SaveAs", QStringLiteral("Save &As..."),
                  QStringLiteral("Save As|Save current file with different name"));
    FileExportItem =
        make("FileExportItem", QStringLiteral("&Export for spreadsheet..."),
             QStringLiteral("Export for spreadsheet|Save current table as a file for spreadsheet programs"));
    FileExitItem = make("FileExitItem", QStringLiteral("E&xit"), QStringLiteral("Exit|Exit application"));

    TBnew = make("TBnew", QStringLiteral("&New"), QStringLiteral("New|Create a new file"), "new");
    TBOpen = make("TBOpen", QStringLiteral("&Open"), QStringLiteral("Open|Open a file"), "open");
    TBSave = make("TBSave", QStringLiteral("&Save"), QStringLiteral("Save|Save current file"), "save");

    EditCut1 = make("EditCut1", QStringLiteral("Cu&t"),
                    QStringLiteral("Cut|Cuts the selection and puts it on the Clipboard"), "cut");
    EditCut1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    EditCopy1 = make("EditCopy1", QStringLiteral("&Copy"),
                     QStringLiteral("Copy|Copies the selection and puts it on the Clipboard"), "copy");
    EditCopy1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    EditPaste1 = make("EditPaste1", QStringLiteral("&Paste"), QStringLiteral("Paste|Inserts Clipboard contents"),
                      "paste");
    EditPaste1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));

    HelpAbout1 = make("HelpAbout1", QStringLiteral("&About..."),
                      QStringLiteral("About|Shows the program information and version number"));

    phlistb = make("phlistb", QStringLiteral("phonelist"), QStringLiteral("Display Phone list Page"), "phonelist");
    Parab = make("Parab", QStringLiteral("Parameter"), QStringLiteral("Display Parameter Page"), "parameters");
    Eventb = make("Eventb", QStringLiteral("Events"), QStringLiteral("Display Event Page"), "events");
    RFIDCodes1 = make("RFIDCodes1", QStringLiteral("RFID Codes"), QStringLiteral("Display RFID Page"), "rfid");

    PHBut = make("PHBut", QStringLiteral("Phone list"), QStringLiteral("Phone List Page"), "phonelist");
    Pbutt = make("Pbutt", QStringLiteral("Parameters"), QStringLiteral("Parameter Setting Page"), "parameters");
    Ebutt = make("Ebutt", QStringLiteral("Events"), QStringLiteral("Event display Page"), "events");
    RFbutt = make("RFbutt", QStringLiteral("RFID"), QStringLiteral("RFID Setup"), "rfid");

    OnLine1 = make("OnLine1", QStringLiteral("Log On"), QStringLiteral("Log on to the panel, or log off"));
    SaveDiagnostics = make("SaveDiagnostics", QStringLiteral("Save &Diagnostics..."),
                           QStringLiteral("Save Diagnostics|Save the port, its device, the serial devices and this "
                                          "session's traffic journal in one file, for support"));
    led = make("led", QStringLiteral("Log On"), QStringLiteral("Log On"), "led22");
    led->setCheckable(true); // checked: drawn highlighted while a log-on is under way
}

QAction *FrameActions::make(const char *name, const QString &caption, const QString &hint, const QString &icon)
{
    auto *action = new QAction(caption, this);
    action->setObjectName(QLatin1String(name));
    ActionHint::apply(action, hint);
    if (!icon.isEmpty())
        action->setIcon(QIcon(QStringLiteral(":/resources/%1.png").arg(icon)));
    return action;
}

void FrameActions::build(QMainWindow *mainWindow, QMenu *Port1, QWidget *animation)
{
    QMenuBar *bar = mainWindow->menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    bar->setAccessibleName(QStringLiteral("Menu bar"));

    File1 = bar->addMenu(QStringLiteral("&File"));
    File1->setObjectName(QStringLiteral("File1"));
    File1->menuAction()->setStatusTip(QStringLiteral("File related commands"));
    File1->addAction(FileNewItem);
    File1->addAction(FileOpenItem);
    File1->addAction(FileSaveItem);
    File1->addAction(SaveAs);
    File1->addAction(FileExportItem);
    File1->addSeparator();
    File1->addAction(FileExitItem);

    Edit1 = bar->addMenu(QStringLiteral("&Edit"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->menuAction()->setStatusTip(QStringLiteral("Edit commands"));
    Edit1->addAction(EditCut1);
    Edit1->addAction(EditCopy1);
    Edit1->addAction(EditPaste1);

    window = bar->addMenu(QStringLiteral("Window"));
    window->setObjectName(QStringLiteral("window"));
    window->addAction(phlistb);
    window->addAction(Parab);
    window->addAction(Eventb);
    window->addAction(RFIDCodes1);

    bar->addAction(HelpAbout1);

    Connect1 = bar->addMenu(QStringLiteral("Connect"));
    Connect1->setObjectName(QStringLiteral("Connect1"));
    Connect1->addAction(OnLine1);
    Connect1->addMenu(Port1);
    Connect1->addSeparator();
    Connect1->addAction(SaveDiagnostics);

    for (QMenu *menu : {File1, Edit1, window, Connect1, Port1}) {
        menu->setAccessibleName(withoutAmpersand(menu->title()));
        menu->setToolTipsVisible(true);
    }

    // A toolbar is read out by its title (the window's toolbar menu shows it
    // too), not by an accessible name.
    ToolBar1 = mainWindow->addToolBar(QStringLiteral("Toolbar"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setAccessibleName(QStringLiteral("Toolbar"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(24, 24));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolBar1->addAction(TBnew);
    ToolBar1->addAction(TBOpen);
    ToolBar1->addAction(TBSave);
    ToolBar1->addSeparator();
    ToolBar1->addAction(EditCut1);
    ToolBar1->addAction(EditCopy1);
    ToolBar1->addAction(EditPaste1);
    ToolBar1->addSeparator();
    ToolBar1->addAction(PHBut);
    ToolBar1->addAction(Pbutt);
    ToolBar1->addAction(Ebutt);
    ToolBar1->addAction(RFbutt);
    ToolBar1->addSeparator();
    ToolBar1->addAction(led);
    auto *spacer = new QWidget(ToolBar1);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    ToolBar1->addWidget(spacer);
    ToolBar1->addWidget(animation);
    auto *margin = new QWidget(ToolBar1);
    margin->setFixedWidth(6);
    ToolBar1->addWidget(margin);
    // The toolbar's own button for what does not fit; it shows only in a
    // narrow window, but assistive technology lists it all the same.
    if (auto *more = ToolBar1->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("More toolbar buttons"));

    // Each toolbar button is named after its control, for tests and for
    // assistive technology.
    for (QAction *action : ToolBar1->actions())
        if (QWidget *button = ToolBar1->widgetForAction(action); button && !action->objectName().isEmpty()) {
            button->setObjectName(action->objectName() + QStringLiteral("Button"));
            button->setAccessibleName(withoutAmpersand(action->text()));
            button->setAccessibleDescription(action->statusTip());
        }
}

void FrameActions::showFileCommand(FileCommandState::Command command, bool on)
{
    switch (command) {
    case FileCommandState::FileNewItem: FileNewItem->setEnabled(on); break;
    case FileCommandState::FileOpenItem: FileOpenItem->setEnabled(on); break;
    case FileCommandState::FileSaveItem: FileSaveItem->setEnabled(on); break;
    case FileCommandState::SaveAs: SaveAs->setEnabled(on); break;
    case FileCommandState::Edit1: Edit1->menuAction()->setEnabled(on); break;
    case FileCommandState::TBnew: TBnew->setEnabled(on); break;
    case FileCommandState::TBOpen: TBOpen->setEnabled(on); break;
    case FileCommandState::TBSave: TBSave->setEnabled(on); break;
    case FileCommandState::FileExportItem: FileExportItem->setEnabled(on); break;
    }
}
