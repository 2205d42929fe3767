#pragma once

#include "sites/Site.h"

#include <QDialog>
#include <QList>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// "New Site" and "Edit Site": the site's name, its address (COM1-COM4, the
// serial devices present, or any address typed in), notes, its folder
// (made from the name until the user chooses one; Browse... picks another),
// and how its PIN is kept: in the desktop's keyring, in a PIN file (for jobs
// without a desktop; Browse... picks where), or not at all.
//
// OK checks the entries against the rest of the book (a name used by no
// other site, a good address, a folder of its own) and says what is wrong
// beside the buttons, keeping the dialog open.
class SiteEditor : public QDialog
{
    Q_OBJECT
public:
    // A site with a null id is a new one. book: the other sites, for the
    // checks; sitesFolder: where a new site's folder is made.
    SiteEditor(const Site &site, const QList<Site> &book, const QString &sitesFolder, QWidget *parent = nullptr);

    // The site as entered (checked and cleaned when accepted).
    Site site() const;

    void accept() override;

    // Serial devices to offer besides COM1-COM4 (by default the ones
    // present, by their /dev/serial/by-id names).
    static QStringList presentDevices();

    QLineEdit *nameEdit() const { return name_; }
    QComboBox *addressBox() const { return address_; }
    QPlainTextEdit *notesEdit() const { return notes_; }
    QLineEdit *folderEdit() const { return folder_; }
    QLineEdit *pinFileEdit() const { return pinFile_; }
    QRadioButton *keepingButton(Site::PinKeeping keeping) const;
    QLabel *problemLabel() const { return problem_; }

private:
    void followName();
    void updatePinFile();
    void browseFolder();
    void browsePinFile();

    Site original_;
    QList<Site> book_;
    QString sitesFolder_;
    bool folderChosen_ = false; // the user typed or chose the folder: it no longer follows the name
    QLineEdit *name_ = nullptr;
    QComboBox *address_ = nullptr;
    QPlainTextEdit *notes_ = nullptr;
    QLineEdit *folder_ = nullptr;
    QRadioButton *keyring_ = nullptr;
    QRadioButton *file_ = nullptr;
    QRadioButton *none_ = nullptr;
    QLineEdit *pinFile_ = nullptr;
    QPushButton *pinFileBrowse_ = nullptr;
    QLabel *problem_ = nullptr;
};
