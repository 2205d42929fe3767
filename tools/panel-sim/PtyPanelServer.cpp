#include "PtyPanelServer.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {
QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}
} // namespace

PtyPanelServer::PtyPanelServer(PanelEngine &engine, QObject *parent)
    : PanelServer(engine, parent)
{
    attachPoll_.setInterval(kAttachPollMs);
    connect(&attachPoll_, &QTimer::timeout, this, &PtyPanelServer::onAttachPoll);
}

PtyPanelServer::~PtyPanelServer()
{
    close();
}

bool PtyPanelServer::open(QString *error)
{
    if (isOpen())
        return true;
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master < 0) {
        *error = systemError("posix_openpt");
        return false;
    }
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    char name[128] = {};
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0 || ::ptsname_r(master, name, sizeof name) != 0) {
        *error = systemError("pseudo-terminal");
        ::close(master);
        return false;
    }
    // Raw line settings on the slave side before anyone uses it: no echo, no
    // CR/LF translation, 8 bits.
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave < 0) {
        *error = systemError(name);
        ::close(master);
        return false;
    }
    termios tio{};
    ::tcgetattr(slave, &tio);
    ::cfmakeraw(&tio);
    ::cfsetspeed(&tio, B57600);
    ::tcsetattr(slave, TCSANOW, &tio);
    ::close(slave);

    master_ = master;
    devicePath_ = QString::fromLocal8Bit(name);
    readNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    readNotifier_->setEnabled(false);
    connect(readNotifier_, &QSocketNotifier::activated, this, &PtyPanelServer::onReadable);
    writeNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Write, this);
    writeNotifier_->setEnabled(false);
    connect(writeNotifier_, &QSocketNotifier::activated, this, &PtyPanelServer::onWritable);
    setAttached(false);
    attachPoll_.start();
    return true;
}

void PtyPanelServer::close()
{
    if (!isOpen())
        return;
    attachPoll_.stop();
    pendingWrite_.clear();
    delete readNotifier_;
    readNotifier_ = nullptr;
    delete writeNotifier_;
    writeNotifier_ = nullptr;
    ::close(master_);
    master_ = -1;
    endSession();
    if (!linkPath_.isEmpty() && QFileInfo(linkPath_).symLinkTarget() == devicePath_)
        QFile::remove(linkPath_);
    linkPath_.clear();
    setAttached(false);
}

bool PtyPanelServer::createLink(const QString &path, QString *error)
{
    if (!isOpen()) {
        *error = QStringLiteral("the panel's device is not open");
        return false;
    }
    const QFileInfo existing(path);
    if (existing.exists() && !existing.isSymLink()) {
        *error = QStringLiteral("%1 exists and is not a symbolic link; not replacing it").arg(path);
        return false;
    }
    // A new link under a temporary name, then renamed over the old one, so
    // the path never points nowhere.
    const QByteArray target = QFile::encodeName(devicePath_);
    const QByteArray temporary = QFile::encodeName(path + QStringLiteral(".new-%1").arg(::getpid()));
    ::unlink(temporary.constData());
    if (::symlink(target.constData(), temporary.constData()) != 0) {
        *error = systemError(temporary.constData());
        return false;
    }
    if (::rename(temporary.constData(), QFile::encodeName(path).constData()) != 0) {
        *error = systemError(QFile::encodeName(path).constData());
        ::unlink(temporary.constData());
        return false;
    }
    linkPath_ = path;
    return true;
}

void PtyPanelServer::checkLine()
{
    if (!isOpen())
        return;
    if (programAttached())
        onReadable();
    else
        onAttachPoll();
}

void PtyPanelServer::onAttachPoll()
{
    if (!isOpen())
        return;
    pollfd p{master_, POLLIN, 0};
    if (::poll(&p, 1, 0) < 0 || (p.revents & POLLHUP))
        return; // still nobody on the other side
    attachPoll_.stop();
    readNotifier_->setEnabled(true);
    setAttached(true);
}

void PtyPanelServer::onReadable()
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n > 0) {
            received(QByteArray(buffer, int(n)));
            if (!isOpen())
                return;
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            return;
        detach(); // EIO: the program closed the device
        return;
    }
}

void PtyPanelServer::detach()
{
    readNotifier_->setEnabled(false);
    writeNotifier_->setEnabled(false);
    pendingWrite_.clear();
    endSession();
    discardStaleOutput();
    attachPoll_.start();
    setAttached(false);
}

void PtyPanelServer::discardStaleOutput()
{
    // What the program did not read before it closed the device would wait
    // in the terminal for its next opening; throw it away now.
    const int slave = ::open(devicePath_.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave < 0)
        return;
    ::tcflush(slave, TCIFLUSH);
    ::close(slave);
}

void PtyPanelServer::writeOut(const QByteArray &bytes)
{
    pendingWrite_ += bytes;
    onWritable();
}

void PtyPanelServer::onWritable()
{
    while (!pendingWrite_.isEmpty()) {
        const ssize_t n = ::write(master_, pendingWrite_.constData(), size_t(pendingWrite_.size()));
        if (n > 0) {
            pendingWrite_.remove(0, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            writeNotifier_->setEnabled(true); // the terminal's buffer is full
            return;
        }
        detach();
        return;
    }
    writeNotifier_->setEnabled(false);
}
