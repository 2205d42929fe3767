#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT, SIGTERM and SIGHUP into a normal quit of the event loop, so
// that the memory is saved, the link removed and the terminal restored. The
// handler only writes one byte to a socket; the rest happens in the loop.
class QuitOnSignal : public QObject
{
    Q_OBJECT
public:
    explicit QuitOnSignal(QObject *parent = nullptr);
    ~QuitOnSignal() override;

signals:
    void signalled(int signal);

private:
    static void handler(int signal);
    void onReadable();

    QSocketNotifier *notifier_ = nullptr;
};
