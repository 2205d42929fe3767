#pragma once

#include "app/AppContext.h"

#include <QWidget>

// The phone directory page (phdir): the grid, the entry editor, the file name and the received-text memo.
// (Placeholder until the page is built.)
class PhonePage : public QWidget
{
    Q_OBJECT
public:
    explicit PhonePage(AppContext &ctx, QWidget *parent = nullptr)
        : QWidget(parent)
        , ctx_(ctx)
    {
    }

    // File commands of this page. newPhoneList() is the table part of New.
    void newPhoneList() {}
    void openPhoneList() {}
    void savePhoneList() {}
    void saveAsPhoneList() {}
    // PHButClick puts the focus into the name field.
    void focusName() {}
    // GetData and WriteAllData follow the connection.
    void setOnline(bool) {}

private:
    AppContext &ctx_;
};
