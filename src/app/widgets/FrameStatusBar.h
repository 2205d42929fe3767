#pragma once

#include "link/StatusSink.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

// The main window's status bar StatusBar with its two panels: the first
// (wide) shows status texts, and the long part of the hint of the control
// under the mouse over them; the second (narrow) the last command written to
// the panel, or "Ready". The second keeps its width: a long command (a
// record being stored) is cut short with an ellipsis and shown whole as the
// panel's tooltip, so the first panel does not shrink with every command.
// What a panel shows is what assistive technology reads; its role ("Status",
// "Last command") is its description.
//
// Both panels have a fixed size (one line high; the second its width, the
// first what the bar leaves it). A label that may change size asks the whole
// main window to lay itself out again at every new text, and an upload shows
// two commands a record: fixed panels keep that work away.
//
// While a transfer runs the command panel shows a new command at most five
// times a second (the last one always comes), rather than every one of the
// thirty or so a second an upload writes: nobody reads them faster, and a
// screen reader is not made to announce each.
class FrameStatusBar : public QStatusBar, public StatusSink
{
    Q_OBJECT
public:
    explicit FrameStatusBar(QWidget *parent = nullptr);

    void setStatusText(const QString &text) override;
    void setCommandText(const QString &text) override;
    void transferRunning(bool running) override;

    // "Busy" in the first panel: a click was refused while an exchange
    // waits. When the exchange ends (busyEnded) the text it covered comes
    // back, unless another status text has been shown since.
    void showBusy();
    void busyEnded();
    static inline const QString kBusy = QStringLiteral("Busy");

    QString statusText() const { return first_->text(); }
    // The last command whole, as it was given.
    QString commandText() const { return command_; }
    // What the second panel shows of it.
    QString shownCommandText() const { return second_->text(); }

    static constexpr int kCommandPanelWidth = 160;
    static constexpr int kCommandFrameMs = 200;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void fixPanelSizes();
    void showCommandNow();

    QLabel *first_;
    QLabel *second_;
    QString command_;
    QString shownCommand_; // command_ as of the panel's last new text
    bool transfer_ = false;
    QElapsedTimer commandShown_;
    QTimer commandFrame_;
    QString beforeBusy_;
};
