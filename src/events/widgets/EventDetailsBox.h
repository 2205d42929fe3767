#pragma once

#include "events/EventDetails.h"

#include <QGroupBox>

class QLineEdit;

// The "Event Details" group of the event page: the current event row.
// E_Numb, E_Room and E_Client are read-only; E_relay, E_source, E_time and
// E_date take typing, but nothing reads them back, so the event table never
// changes through this box.
class EventDetailsBox : public QGroupBox
{
    Q_OBJECT
public:
    explicit EventDetailsBox(QWidget *parent = nullptr);

    void showDetails(const EventDetails &details);

private:
    QLineEdit *E_Numb;
    QLineEdit *E_Room;
    QLineEdit *E_Client;
    QLineEdit *E_relay;
    QLineEdit *E_source;
    QLineEdit *E_time;
    QLineEdit *E_date;
};
