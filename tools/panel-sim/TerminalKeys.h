#pragma once

#include <QObject>
#include <termios.h>

class QSocketNotifier;

// Single key presses from the terminal the panel runs in, without waiting
// for Return and without echo. Only when standard input is a terminal and
// the process is in its foreground; the terminal's settings come back when
// this object goes away. Ctrl-C keeps working.
class TerminalKeys : public QObject
{
    Q_OBJECT
public:
    explicit TerminalKeys(QObject *parent = nullptr);
    ~TerminalKeys() override;

    // False when there is no terminal to read keys from.
    bool start();

signals:
    void keyPressed(char key);

private:
    void onReadable();
    void restore();

    QSocketNotifier *notifier_ = nullptr;
    termios saved_{};
    bool changed_ = false;
};
