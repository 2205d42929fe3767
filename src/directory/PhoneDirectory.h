#pragma once

#include "directory/PhoneFields.h"
#include "table/Table.h"

#include <QObject>
#include <QString>

// The phone directory as the whole program shares it: the table PhoneTable
// and the flags that the phone page, the file commands, the transfers, the
// RFID page and the parameter page read and set. The windows follow its
// signals; nothing here knows a widget.
class PhoneDirectory : public QObject
{
    Q_OBJECT
public:
    explicit PhoneDirectory(QObject *parent = nullptr);

    Table PhoneTable;

    bool TableLoading = false;   // a download or file load fills the table
    bool ScrollSyncOn = true;    // the after-scroll handler copies the entry into the fields
    bool DeleteConfirmed = false; // the next delete goes through

    // Closes the table and defines its eight fields afresh (drops the sort).
    void DefinePhoneFields();

    // Save and Save As of the phone page are offered (set by New, Open and
    // the downloads, never cleared).
    bool PhoneFileSaveAllowed() const { return saveAllowed_; }
    bool PhoneFileSaveAsAllowed() const { return saveAsAllowed_; }
    void allowPhoneFileSave();

    // DBFiles: the current phone list file.
    QString DBFiles() const { return fileName_; }
    void setDBFiles(const QString &name);

    // The "Write Each Change" box: enabled after a full transfer, disabled by
    // New, Open, log-on and going offline; its tick is the user's.
    bool writeEachChangeEnabled() const { return wrtChgEnabled_; }
    void setWriteEachChangeEnabled(bool enabled);
    bool writeEachChangeTicked() const { return wrtChgTicked_; }
    void setWriteEachChangeTicked(bool ticked);

    // Edit3: the hidden trace field of the phone page. The log-on puts the
    // last directory slot there; failed upload retries append "f".
    QString Edit3() const { return edit3_; }
    void setEdit3(const QString &text)
    {
        edit3_ = text;
        emit edit3Changed(edit3_);
    }
    void appendEdit3(const QString &text)
    {
        edit3_ += text;
        emit edit3Changed(edit3_);
    }

    // The directory grid's code columns are dimmed while global gate codes
    // are in use.
    bool codeColumnsDimmed() const { return codesDimmed_; }
    void setCodeColumnsDimmed(bool dimmed);

    // SetupPhoneGrid: the grids set up their columns for the table just
    // defined (the phone page does the work). Called after New, Open and the
    // download.
    void SetupPhoneGrid() { emit phoneGridSetupRequested(); }

signals:
    void phoneGridSetupRequested();
    // A phone list was read from a file; the code columns' dimming is then
    // refreshed from the parameter page.
    void phoneListOpened();
    void saveCommandsAllowed();
    void fileNameChanged(const QString &name);
    void writeEachChangeEnabledChanged(bool enabled);
    void writeEachChangeTickedChanged(bool ticked);
    void codeColumnsDimmedChanged(bool dimmed);
    void edit3Changed(const QString &text);

private:
    bool saveAllowed_ = false;
    bool saveAsAllowed_ = false;
    QString fileName_;
    bool wrtChgEnabled_ = false;
    bool wrtChgTicked_ = true;
    bool codesDimmed_ = false;
    QString edit3_;
};
