#include "cli/TerminalSecret.h"

#include <csignal>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace TerminalSecret {

namespace {

// The settings to put back when an interrupt ends the program mid-read.
int savedFd = -1;
termios savedSettings{};

void restoreAndReraise(int signal)
{
    if (savedFd >= 0)
        tcsetattr(savedFd, TCSANOW, &savedSettings);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0)
            return;
        done += n;
    }
}

} // namespace

std::optional<QByteArray> read(int fd, const QByteArray &question)
{
    termios before{};
    if (tcgetattr(fd, &before) != 0)
        return std::nullopt;
    termios quiet = before;
    quiet.c_lflag &= ~tcflag_t(ECHO | ECHOE | ECHOK | ECHONL);
    quiet.c_lflag |= ICANON;

    savedFd = fd;
    savedSettings = before;
    auto *oldInt = std::signal(SIGINT, restoreAndReraise);
    auto *oldTerm = std::signal(SIGTERM, restoreAndReraise);
    writeAll(fd, question);
    tcsetattr(fd, TCSANOW, &quiet);

    QByteArray line;
    bool ended = false;
    char c = 0;
    while (true) {
        const ssize_t n = ::read(fd, &c, 1);
        if (n <= 0)
            break; // end of input, or an error: no line
        if (c == '\n' || c == '\r') {
            ended = true;
            break;
        }
        // A line longer than any secret is read to its end and refused.
        if (line.size() <= kMaxLength)
            line.append(c);
    }

    tcsetattr(fd, TCSANOW, &before);
    std::signal(SIGINT, oldInt);
    std::signal(SIGTERM, oldTerm);
    savedFd = -1;
    writeAll(fd, "\n");
    if (!ended)
        return std::nullopt;
    return line;
}

std::optional<QByteArray> ask(const QByteArray &question)
{
    const int fd = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::optional<QByteArray> answer = read(fd, question);
    ::close(fd);
    return answer;
}

} // namespace TerminalSecret
