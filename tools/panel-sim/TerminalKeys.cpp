#include "TerminalKeys.h"

#include <QSocketNotifier>

#include <unistd.h>

TerminalKeys::TerminalKeys(QObject *parent)
    : QObject(parent)
{
}

TerminalKeys::~TerminalKeys()
{
    restore();
}

bool TerminalKeys::start()
{
    if (notifier_)
        return true;
    if (!::isatty(STDIN_FILENO) || ::tcgetpgrp(STDIN_FILENO) != ::getpgrp())
        return false;
    if (::tcgetattr(STDIN_FILENO, &saved_) != 0)
        return false;
    termios keys = saved_;
    keys.c_lflag &= ~tcflag_t(ICANON | ECHO);
    keys.c_cc[VMIN] = 1;
    keys.c_cc[VTIME] = 0;
    if (::tcsetattr(STDIN_FILENO, TCSANOW, &keys) != 0)
        return false;
    changed_ = true;
    notifier_ = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminalKeys::onReadable);
    return true;
}

void TerminalKeys::onReadable()
{
    char buffer[64];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) {
        notifier_->setEnabled(false); // end of input: no more keys
        return;
    }
    for (ssize_t i = 0; i < n; ++i)
        emit keyPressed(buffer[i]);
}

void TerminalKeys::restore()
{
    if (changed_)
        ::tcsetattr(STDIN_FILENO, TCSANOW, &saved_);
    changed_ = false;
}
