#pragma once

#include "app/AppContext.h"

#include <QWidget>

// The event page (Events): the event grid, its details and the panel clock.
// (Placeholder until the page is built.)
class EventsPage : public QWidget
{
    Q_OBJECT
public:
    explicit EventsPage(AppContext &ctx, QWidget *parent = nullptr)
        : QWidget(parent)
        , ctx_(ctx)
    {
    }

    void saveAsEventFile() {}
    bool EventsLoaded() const { return false; }
    void setOnline(bool) {}

private:
    AppContext &ctx_;
};
