#pragma once

#include "link/SerialPort.h"

#include <QObject>
#include <QString>

// The port menu's choice: Comm1 to Comm4. Choosing port n stores n in the
// details file (when it exists), checks exactly that menu item and switches
// the serial port to "COMn". The choice starts at COM2 with nothing stored.
class PortChoice : public QObject
{
    Q_OBJECT
public:
    PortChoice(SerialPort &port, QString detailsFileName, QObject *parent = nullptr);

    qint32 PortNumber() const { return portNumber_; }
    int checkedItem() const { return checked_; }
    void setDetailsFileName(const QString &name) { detailsFileName_ = name; }
    QString detailsFileName() const { return detailsFileName_; }

    void choose(int n);
    void Comm11Click() { choose(1); }
    void comm21Click() { choose(2); }
    void comm31Click() { choose(3); }
    void Comm41Click() { choose(4); }

signals:
    // 0 while every item is unchecked, else the checked item 1-4.
    void checkedChanged(int item);

private:
    SerialPort &port_;
    QString detailsFileName_;
    qint32 portNumber_ = 0;
    int checked_ = 2;
};
