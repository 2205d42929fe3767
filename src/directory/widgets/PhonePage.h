#pragma once

#include "directory/DirectoryContext.h"
#include "directory/widgets/PhoneNavigator.h"

#include <QFileDialog>
#include <QWidget>
#include <functional>

class DirectoryTransfer;
class PhoneEditor;
class PhoneEntryForm;
class PhoneGridView;
class QCheckBox;
class QLineEdit;
class QPushButton;
class RxMemoView;

// The phone directory page (phdir, "PhoneDataBase"): the file name DBFiles,
// the grid DBGrid1 with its navigator DBNavigator1, the entry editor, the
// box "Write Each Change" (WrtChg), the transfer buttons GetData and
// WriteData with the download's progress field Edit2, and the received-text
// memo RxMemo. It owns the phone editor (which follows the phone table's
// cursor) and the directory transfers; the main window calls the file
// commands and the online state below.
class PhonePage : public QWidget
{
    Q_OBJECT
public:
    explicit PhonePage(DirectoryContext &ctx, QWidget *parent = nullptr);
    ~PhonePage() override;

    // File commands of this page. newPhoneList() is the table part of New.
    void newPhoneList();
    void openPhoneList();
    void savePhoneList();
    void saveAsPhoneList();
    // "Export for spreadsheet...": the list for spreadsheet programs, with
    // the separator of the user's locale; DBFiles stays.
    void exportPhoneList();
    // PHButClick puts the focus into the name field.
    void focusName();
    // GetData and WriteAllData follow the connection.
    void setOnline(bool online);

    // Asks for a file name for Open (AcceptOpen) or Save As (AcceptSave);
    // empty when cancelled. Defaults to the page's file dialogs.
    using FileChooser = std::function<QString(QFileDialog::AcceptMode)>;
    void setFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }
    // Asks for the export's file name; empty when cancelled.
    using ExportChooser = std::function<QString()>;
    void setExportChooser(ExportChooser chooser) { chooseExport_ = std::move(chooser); }

    PhoneEditor &editor() { return *editor_; }
    DirectoryTransfer &transfer() { return *transfer_; }

private:
    QWidget *buildFileRow();
    QWidget *buildTransferRow();
    void bindDirectory();
    void SetupPhoneGrid();
    // DBNavigator1BeforeAction and the navigator's own action.
    void DBNavigator1Click(PhoneNavigator::Button button);
    void lockWhileExchanging(bool busy);

    DirectoryContext &ctx_;
    PhoneEditor *editor_;
    DirectoryTransfer *transfer_;
    FileChooser chooseFile_;
    ExportChooser chooseExport_;

    QLineEdit *DBFiles = nullptr;
    PhoneGridView *DBGrid1 = nullptr;
    PhoneNavigator *DBNavigator1 = nullptr;
    PhoneEntryForm *entry_ = nullptr;
    QCheckBox *WrtChg = nullptr;
    QPushButton *GetData = nullptr;
    QPushButton *WriteData = nullptr;
    QLineEdit *Edit2 = nullptr;
    QLineEdit *Edit3 = nullptr;
    QPushButton *SortbyAddr = nullptr;
    RxMemoView *RxMemo = nullptr;
};
