#include "QuitOnSignal.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int pipeFds[2] = {-1, -1};
} // namespace

QuitOnSignal::QuitOnSignal(QObject *parent)
    : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pipeFds) != 0)
        return;
    notifier_ = new QSocketNotifier(pipeFds[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &QuitOnSignal::onReadable);
    struct sigaction action = {};
    action.sa_handler = &QuitOnSignal::handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(s, &action, nullptr);
}

QuitOnSignal::~QuitOnSignal()
{
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        std::signal(s, SIG_DFL);
    if (pipeFds[0] >= 0) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        pipeFds[0] = pipeFds[1] = -1;
    }
}

void QuitOnSignal::handler(int signal)
{
    const char byte = char(signal);
    if (pipeFds[0] >= 0) {
        const ssize_t written = ::write(pipeFds[0], &byte, 1);
        (void)written; // nothing to be done about a full socket here
    }
}

void QuitOnSignal::onReadable()
{
    char byte = 0;
    if (::read(pipeFds[1], &byte, 1) == 1)
        emit signalled(int(byte));
}
