#pragma once

#include "app/AppContext.h"

#include <QWidget>

// The RFID page (RFid_SU): the tag grid, the tag read and the store transfers.
// (Placeholder until the page is built.)
class RfidPage : public QWidget
{
    Q_OBJECT
public:
    explicit RfidPage(AppContext &ctx, QWidget *parent = nullptr)
        : QWidget(parent)
        , ctx_(ctx)
    {
    }

    // Opening the page by its button empties iderror and hides Lc_exist.
    void clearStatus() {}
    void setOnline(bool) {}

private:
    AppContext &ctx_;
};
