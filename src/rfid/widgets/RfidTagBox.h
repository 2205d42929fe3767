#pragma once

#include "rfid/RfidPageState.h"

#include <QGroupBox>

class QLabel;
class QProgressBar;
class QPushButton;

// The tag read on the RFID page: "Get_RFID" (Get_ID), the seconds left of
// the read (ProgressBar1, 0-20) and its status (iderror: "Ready" while
// waiting, "Read Error, Try Again" after a bad tag line). The bar and the
// status follow the page state.
class RfidTagBox : public QGroupBox
{
    Q_OBJECT
public:
    explicit RfidTagBox(RfidPageState &state, QWidget *parent = nullptr);

    QPushButton *getIdButton() const { return Get_ID; }

private:
    QPushButton *Get_ID;
    QProgressBar *ProgressBar1;
    QLabel *iderror;
};
