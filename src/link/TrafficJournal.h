#pragma once

#include "link/PinMask.h"

#include <QDateTime>
#include <QFile>
#include <QObject>
#include <QTimer>
#include <functional>

// The traffic journal: every byte sent to and received from the panel, with
// its time and direction, one file a session (a run of the program that
// opened the port), the last ten sessions kept. The PIN never reaches it
// (PinMask). Lines read
//
//   2024-05-06 14:03:07.118 * open COM2 (/dev/ttyUSB1)
//   2024-05-06 14:03:07.205 > a[PIN]\r
//   2024-05-06 14:03:07.262 < \r\nOK\r\n
//
// with ">" sent, "<" received and "*" what happened to the port; bytes
// other than printable ASCII are written \r, \n, \\ or \xHH, so the bytes
// can be read back exactly. A received chunk breaks into lines after LF.
//
// Writing never holds up the line: records go to a buffer that is written
// out when it grows past 64 KiB, a second after the first record in it, and
// at flush() (the port's close does that). A journal that cannot be written
// stops journalling and says why in error(); the link goes on.
class TrafficJournal : public QObject
{
    Q_OBJECT
public:
    using Clock = std::function<QDateTime()>;
    static constexpr int kSessionsKept = 10;
    static constexpr qsizetype kBufferLimit = 64 * 1024;
    static constexpr int kFlushIntervalMs = 1000;

    // folder: where the session files go (made when the first record comes).
    // clock: the time of each record (tests give a virtual one).
    TrafficJournal(QString folder, Clock clock, QObject *parent = nullptr);
    ~TrafficJournal() override;

    // $XDG_STATE_HOME/corvalen-pro/journal, or ~/.local/state/corvalen-pro/journal.
    static QString defaultFolder();
    // The computer's clock as local time, cheap enough for every chunk: the
    // offset from UTC is looked up once a minute (asking for the local time
    // reads the zone's rules each time). The result carries the local wall
    // time in its fields; it is for stamping, not for arithmetic.
    static Clock localClock();

    void sent(const QByteArray &bytes);
    void received(const QByteArray &bytes);
    void note(const QString &event);
    void flush();

    QString folder() const { return folder_; }
    // This session's file; empty before the first record.
    QString fileName() const { return fileName_; }
    // Why the journal stopped (or never started); empty while it works.
    QString error() const { return error_; }
    // This session's journal as written so far (flushed first).
    QByteArray contents();

private:
    bool start(const QDateTime &now);
    void record(char direction, const QByteArray &bytes, PinMask &mask);
    void append(const QByteArray &lines);
    void fail(const QString &why);
    void dropOldSessions();
    static QByteArray stamp(const QDateTime &now);

    QString folder_;
    Clock clock_;
    QString fileName_;
    QFile file_;
    QByteArray buffer_;
    QTimer flushTimer_;
    PinMask sentMask_ = PinMask::forSent();
    PinMask receivedMask_ = PinMask::forReceived();
    QString error_;
};
