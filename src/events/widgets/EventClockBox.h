#pragma once

#include "events/ClockFields.h"

#include <QGroupBox>

class QLineEdit;

// The " Time " group of the event page (timerBox): the panel's clock as the
// last download read it (Stime, Sdate, under "Corvalen's") beside the
// computer's clock at that download (Ctime, Cdate, under "Loaded At").
// The four edits are read-only and follow the clock fields.
class EventClockBox : public QGroupBox
{
    Q_OBJECT
public:
    explicit EventClockBox(const ClockFields &clock, QWidget *parent = nullptr);

private:
    void showClock();

    const ClockFields &clock_;
    QLineEdit *Stime;
    QLineEdit *Sdate;
    QLineEdit *Ctime;
    QLineEdit *Cdate;
};
