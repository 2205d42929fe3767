#pragma once

#include <QObject>

// One exchange with the panel at a time. A handler that talks to the panel
// holds a Scope for as long as it runs; a second handler started from inside
// one of its waits finds the guard busy and does nothing. Only the log-off
// click of the lamp bypasses it. busyChanged() lets windows show the state;
// refused() tells them that a click was just ignored because of it, so the
// user learns why nothing happened.
class ExchangeGuard : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    bool busy() const { return depth_ > 0; }
    // For a click that must not run while an exchange waits: true when it
    // is refused, and refused() then announces it.
    bool refusesClick();

    class Scope
    {
    public:
        // When another exchange is running the scope is not entered and the
        // guard announces the refusal.
        explicit Scope(ExchangeGuard &guard);
        ~Scope();
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;
        // False when another exchange was already running.
        explicit operator bool() const { return entered_; }

    private:
        ExchangeGuard &guard_;
        bool entered_ = false;
    };

signals:
    void busyChanged(bool busy);
    void refused();

private:
    int depth_ = 0;
};
