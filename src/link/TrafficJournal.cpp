#include "link/TrafficJournal.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {
constexpr qsizetype kBytesPerLine = 128;

// Writes c as the journal shows it; returns the characters written (1 to 4).
int escapeInto(char *out, char c)
{
    static constexpr char kHex[] = "0123456789abcdef";
    const uchar u = uchar(c);
    switch (c) {
    case '\r': out[0] = '\\'; out[1] = 'r'; return 2;
    case '\n': out[0] = '\\'; out[1] = 'n'; return 2;
    case '\\': out[0] = '\\'; out[1] = '\\'; return 2;
    }
    if (u >= 0x20 && u < 0x7F) {
        out[0] = c;
        return 1;
    }
    out[0] = '\\';
    out[1] = 'x';
    out[2] = kHex[u >> 4];
    out[3] = kHex[u & 0xF];
    return 4;
}

char *putDigits(char *out, int value, int digits)
{
    for (int i = digits - 1; i >= 0; --i, value /= 10)
        out[i] = char('0' + value % 10);
    return out + digits;
}
} // namespace

TrafficJournal::TrafficJournal(QString folder, Clock clock, QObject *parent)
    : QObject(parent)
    , folder_(std::move(folder))
    , clock_(std::move(clock))
{
    flushTimer_.setSingleShot(true);
    flushTimer_.setInterval(kFlushIntervalMs);
    connect(&flushTimer_, &QTimer::timeout, this, &TrafficJournal::flush);
}

TrafficJournal::~TrafficJournal()
{
    flush();
}

QString TrafficJournal::defaultFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state)) // the XDG rule: a relative path is ignored
        state = QDir::home().filePath(QStringLiteral(".local/state"));
    return QDir(state).filePath(QStringLiteral("corvalen-pro/journal"));
}

TrafficJournal::Clock TrafficJournal::localClock()
{
    struct Offset
    {
        qint64 lookedUpAt = 0;
        bool known = false;
        int seconds = 0;
    };
    auto offset = std::make_shared<Offset>();
    return [offset] {
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        if (!offset->known || now < offset->lookedUpAt || now - offset->lookedUpAt >= 60 * 1000) {
            offset->seconds = QDateTime::fromMSecsSinceEpoch(now).offsetFromUtc();
            offset->lookedUpAt = now;
            offset->known = true;
        }
        return QDateTime::fromMSecsSinceEpoch(now + qint64(offset->seconds) * 1000, Qt::UTC);
    };
}

// yyyy-MM-dd HH:mm:ss.zzz
QByteArray TrafficJournal::stamp(const QDateTime &now)
{
    const QDate d = now.date();
    const QTime t = now.time();
    if (d.year() < 0 || d.year() > 9999 || !t.isValid()) {
        char text[48];
        const int n = std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", d.year(), d.month(),
                                    d.day(), t.hour(), t.minute(), t.second(), t.msec());
        return QByteArray(text, std::clamp(n, 0, int(sizeof text) - 1));
    }
    char text[23];
    char *p = putDigits(text, d.year(), 4);
    *p++ = '-';
    p = putDigits(p, d.month(), 2);
    *p++ = '-';
    p = putDigits(p, d.day(), 2);
    *p++ = ' ';
    p = putDigits(p, t.hour(), 2);
    *p++ = ':';
    p = putDigits(p, t.minute(), 2);
    *p++ = ':';
    p = putDigits(p, t.second(), 2);
    *p++ = '.';
    p = putDigits(p, t.msec(), 3);
    return QByteArray(text, p - text);
}

void TrafficJournal::fail(const QString &why)
{
    if (error_.isEmpty())
        error_ = why;
    buffer_.clear();
    flushTimer_.stop();
    file_.close();
}

bool TrafficJournal::start(const QDateTime &now)
{
    if (!error_.isEmpty())
        return false;
    if (file_.isOpen())
        return true;
    if (!QDir().mkpath(folder_))
        return fail(QStringLiteral("Cannot create the journal folder %1").arg(folder_)), false;
    QFile::setPermissions(folder_, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString base = QStringLiteral("session-") + now.toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    // Several programs may start a session in the same millisecond (a
    // nightly job runs many): the name is claimed by creating it, and a name
    // another program took first moves on to the next number.
    QString name = QDir(folder_).filePath(base + QStringLiteral(".log"));
    constexpr int kTries = 1000;
    for (int n = 2;; ++n) {
        file_.setFileName(name);
        if (file_.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            break;
        if (!QFileInfo::exists(name) || n > kTries)
            return fail(QStringLiteral("Cannot create the journal %1: %2").arg(name, file_.errorString())), false;
        name = QDir(folder_).filePath(QStringLiteral("%1-%2.log").arg(base).arg(n));
    }
    file_.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    fileName_ = name;
    dropOldSessions();
    buffer_ = "# " + QCoreApplication::applicationName().toUtf8() + ' '
              + QCoreApplication::applicationVersion().toUtf8()
              + " traffic journal. > sent, < received, * port; \\r \\n \\\\ \\xHH as written; the PIN as [PIN].\n";
    return true;
}

// The names carry the start time, so name order is age; this session's own
// file is never the one dropped, whatever the clock did.
void TrafficJournal::dropOldSessions()
{
    QDir dir(folder_);
    QStringList sessions =
        dir.entryList({QStringLiteral("session-*.log")}, QDir::Files, QDir::Name);
    sessions.removeAll(QFileInfo(fileName_).fileName());
    while (sessions.size() > kSessionsKept - 1)
        dir.remove(sessions.takeFirst());
}

void TrafficJournal::append(const QByteArray &lines)
{
    buffer_ += lines;
    if (buffer_.size() >= kBufferLimit)
        flush();
    else if (!flushTimer_.isActive())
        flushTimer_.start();
}

void TrafficJournal::record(char direction, const QByteArray &bytes, PinMask &mask)
{
    const QList<bool> hidden = mask.scan(bytes); // keeps its place even while not journalling
    if (bytes.isEmpty() || !error_.isEmpty())
        return;
    const QDateTime now = clock_();
    if (!start(now))
        return;
    const QByteArray head = stamp(now) + ' ' + direction + ' ';
    QByteArray out;
    out.reserve(bytes.size() * 2 + (bytes.size() / kBytesPerLine + 2) * (head.size() + 1));
    // A line's bytes as written: at most five characters each ("[PIN]" or
    // \xHH), and its LF.
    char line[kBytesPerLine * 5 + 1];
    qsizetype used = 0;
    qsizetype count = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (hidden.at(i)) {
            if (count == 0 || !hidden.at(i - 1)) {
                std::memcpy(line + used, "[PIN]", 5);
                used += 5;
            }
        } else {
            used += escapeInto(line + used, bytes.at(i));
        }
        ++count;
        const bool end = i + 1 == bytes.size();
        if (end || (bytes.at(i) == '\n' && direction == '<') || count == kBytesPerLine) {
            line[used++] = '\n';
            out += head;
            out.append(line, used);
            used = 0;
            count = 0;
        }
    }
    append(out);
}

void TrafficJournal::sent(const QByteArray &bytes)
{
    record('>', bytes, sentMask_);
}

void TrafficJournal::received(const QByteArray &bytes)
{
    record('<', bytes, receivedMask_);
}

void TrafficJournal::note(const QString &event)
{
    if (!error_.isEmpty())
        return;
    const QDateTime now = clock_();
    if (start(now))
        append(stamp(now) + " * " + event.toUtf8() + '\n');
}

void TrafficJournal::flush()
{
    flushTimer_.stop();
    if (buffer_.isEmpty() || !file_.isOpen())
        return;
    const qint64 written = file_.write(buffer_);
    if (written != buffer_.size() || !file_.flush())
        return fail(QStringLiteral("Cannot write the journal %1: %2").arg(fileName_, file_.errorString()));
    buffer_.clear();
}

QByteArray TrafficJournal::contents()
{
    flush();
    if (fileName_.isEmpty())
        return {};
    QFile file(fileName_);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
