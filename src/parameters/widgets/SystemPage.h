#pragma once

#include "app/AppContext.h"

#include <QWidget>

// The parameter page (system): operating parameters, options, gate codes, speed dials, PIN and messages.
// (Placeholder until the page is built.)
class SystemPage : public QWidget
{
    Q_OBJECT
public:
    explicit SystemPage(AppContext &ctx, QWidget *parent = nullptr)
        : QWidget(parent)
        , ctx_(ctx)
    {
    }

    void openParameterFile() {}
    void saveAsParameterFile() {}
    // New hides the no-answer ring time and its label.
    void hideNoAnswerRingTime() {}
    void setOnline(bool) {}

private:
    AppContext &ctx_;
};
