#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>

// The About box: the program icon, the product and model, "Version:"
// "7.1  May 2008", and OK. Modal, centred on the screen.
class TAboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutBox(QWidget *parent = nullptr);

    QLabel *ProgramIcon;
    QLabel *ProductName;
    QLabel *Version;
    QLabel *VersionNumber;
    QPushButton *OKButton;

protected:
    void showEvent(QShowEvent *event) override;
};
