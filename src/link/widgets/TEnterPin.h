#pragma once

#include "link/PinKeeper.h"
#include "link/PinRequest.h"
#include "link/PortChoice.h"
#include "link/UserPrompt.h"

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// The log-on dialog "EnterPin": the PIN, "Remember Details", Ok and Cancel,
// and the Remote group (a remote phone number), which is never shown and
// only travels through the details file. Showing it reads the details file
// and restores the remembered port; Ok writes the file; Return in the PIN
// field logs on without touching it.
class TEnterPin : public QDialog, public PinRequest
{
    Q_OBJECT
public:
    TEnterPin(PortChoice &ports, UserPrompt &prompt, QWidget *parent = nullptr);

    // Shows the dialog modally; the PIN on Ok or Return, nothing on Cancel.
    std::optional<QByteArray> askPin() override;
    QByteArray pin() const;
    // The PIN of a site is kept by `keeper` and the details file is
    // written with an empty PIN; none: the details file keeps it.
    void setPinKeeper(PinKeeper *keeper) { keeper_ = keeper; }

    void Button1Click();
    void CorvalenPinKeyPress();
    void R_ph_numKeyPress();
    void RChkBoxClick();

    QLineEdit *CorvalenPin;
    QPushButton *Button1;
    QPushButton *Button2;
    QCheckBox *StrDetail;
    QGroupBox *Panel1;
    QCheckBox *RChkBox;
    QLineEdit *R_ph_num;
    QLabel *PinLabel;
    QLabel *PhoneLabel;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormShow();
    void applyRemote(bool checked, bool moveFocus);

    PortChoice &ports_;
    UserPrompt &prompt_;
    PinKeeper *keeper_ = nullptr;
};
