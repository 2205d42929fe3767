#include "cli/CliInterrupt.h"

#include <fcntl.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t caughtSignal = 0;
int pipeFds[2] = {-1, -1};
CliInterrupt *installed = nullptr;

void onSignal(int signal)
{
    if (caughtSignal != 0) {
        // The second one: the program ends at once.
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    caughtSignal = signal;
    const char byte = char(signal);
    [[maybe_unused]] const ssize_t n = ::write(pipeFds[1], &byte, 1);
}

} // namespace

CliInterrupt::CliInterrupt()
{
    caughtSignal = 0;
    installed = this;
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        pipeFds[0] = pipeFds[1] = -1;
        return; // no handler then: a signal ends the program as before
    }
    notifier_ = std::make_unique<QSocketNotifier>(pipeFds[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &CliInterrupt::readPipe);
    struct sigaction action{};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &oldInt_);
    sigaction(SIGTERM, &action, &oldTerm_);
}

CliInterrupt::~CliInterrupt()
{
    if (pipeFds[0] >= 0) {
        sigaction(SIGINT, &oldInt_, nullptr);
        sigaction(SIGTERM, &oldTerm_, nullptr);
        notifier_.reset();
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        pipeFds[0] = pipeFds[1] = -1;
    }
    installed = nullptr;
}

int CliInterrupt::caught()
{
    return caughtSignal;
}

CliInterrupt *CliInterrupt::active()
{
    return installed;
}

QString CliInterrupt::signalName(int signal)
{
    switch (signal) {
    case SIGINT: return QStringLiteral("SIGINT");
    case SIGTERM: return QStringLiteral("SIGTERM");
    }
    return QStringLiteral("signal %1").arg(signal);
}

void CliInterrupt::readPipe()
{
    char bytes[16];
    while (::read(pipeFds[0], bytes, sizeof bytes) > 0) {
    }
    if (caughtSignal != 0)
        interrupt(caughtSignal);
}

void CliInterrupt::interrupt(int signal)
{
    if (caughtSignal == 0)
        caughtSignal = signal;
    if (announced_)
        return;
    announced_ = true;
    emit interrupted(caughtSignal);
}
