#pragma once

#include "link/StatusSink.h"

#include <QLabel>
#include <QStatusBar>

// The main window's status bar StatusBar with its two panels: the first
// (wide) shows status texts, and the long part of the hint of the control
// under the mouse over them; the second (narrow) the last command written to
// the panel, or "Ready".
class FrameStatusBar : public QStatusBar, public StatusSink
{
    Q_OBJECT
public:
    explicit FrameStatusBar(QWidget *parent = nullptr);

    void setStatusText(const QString &text) override;
    void setCommandText(const QString &text) override;

    QString statusText() const { return first_->text(); }
    QString commandText() const { return second_->text(); }

private:
    QLabel *first_;
    QLabel *second_;
};
